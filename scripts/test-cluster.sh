# Sourced by scripts/test: a throw-away PostgreSQL cluster for the tests that run against a server.
# It lives in a temporary folder, listens only on a Unix socket in that folder (no TCP address at
# all), and is stopped and removed when the calling script ends, whether the tests pass or not.
# Exports CA_TEST_PG, the connection string of its database.

ca_pg_bindir() {
  local dir
  dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -x "$dir/initdb" ] || { echo "PostgreSQL server programs not found under /usr/lib/postgresql" >&2; return 1; }
  echo "$dir"
}

# Runs a command as the cluster's owner: initdb and the server refuse to run as root, so root
# (as in CI) runs them as the postgres system user the package creates.
ca_pg_as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

ca_pg_stop() {
  [ -n "${CA_PG_DIR:-}" ] || return 0
  if [ -f "$CA_PG_DIR/data/postmaster.pid" ]; then
    ca_pg_as_owner "$CA_PG_BIN/pg_ctl" -D "$CA_PG_DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$CA_PG_DIR"
  CA_PG_DIR=""
}

ca_pg_start() {
  CA_PG_BIN=$(ca_pg_bindir)
  CA_PG_DIR=$(mktemp -d /tmp/ca-pg.XXXXXX)
  trap ca_pg_stop EXIT
  trap 'exit 130' INT TERM
  chmod 700 "$CA_PG_DIR"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$CA_PG_DIR"
  # Any port number is free: the socket file is named after it inside this private folder.
  local port=$((20000 + RANDOM % 30000))
  local user=ca_test
  if ! ca_pg_as_owner "$CA_PG_BIN/initdb" -D "$CA_PG_DIR/data" -U "$user" -A trust -E UTF8 --locale=C \
      --no-sync >"$CA_PG_DIR/initdb.log" 2>&1; then
    cat "$CA_PG_DIR/initdb.log" >&2
    echo "The test database server could not be initialised" >&2
    return 1
  fi
  # A throw-away cluster: no durability needed, so no waiting for the disk.
  if ! ca_pg_as_owner "$CA_PG_BIN/pg_ctl" -D "$CA_PG_DIR/data" -l "$CA_PG_DIR/server.log" -w -t 60 \
      -o "-c listen_addresses='' -c unix_socket_directories='$CA_PG_DIR' -p $port -c fsync=off \
-c synchronous_commit=off -c full_page_writes=off -c max_connections=200" start >/dev/null; then
    cat "$CA_PG_DIR/server.log" >&2
    echo "The test database server did not start" >&2
    return 1
  fi
  ca_pg_as_owner "$CA_PG_BIN/createdb" -h "$CA_PG_DIR" -p "$port" -U "$user" ca_test
  ca_pg_as_owner "$CA_PG_BIN/psql" -q -h "$CA_PG_DIR" -p "$port" -U "$user" -d ca_test \
    -c "CREATE EXTENSION citext" >/dev/null
  export CA_TEST_PG="host=$CA_PG_DIR port=$port dbname=ca_test user=$user"
  echo "Test database server: $CA_TEST_PG"
}

# ca_pg_start_tls: a throw-away cluster reached as an office's server is, for the Windows proofs:
# TCP on 127.0.0.1 only (no other address), scram-sha-256 passwords, TLS with certificates made for
# the run (a root certificate, and the server's for localhost and 127.0.0.1 signed by it). The
# administrator reaches it through the Unix socket in its folder without a password. Exports
# CA_PG_TCP (host, port and user), CA_PG_PASSWORD (the user's password: a blank, "&" and "@" in it),
# CA_PG_ROOT_CERT (the root certificate's file) and CA_PG_ADMIN (psql's options for the
# administrator). ca_pg_tls_restart on|off restarts it with TLS on or off; ca_pg_tls_stop and
# ca_pg_tls_start stop and start it; ca_pg_stop removes it.
ca_pg_start_tls() {
  CA_PG_BIN=$(ca_pg_bindir)
  CA_PG_DIR=$(mktemp -d /tmp/ca-pg-tls.XXXXXX)
  trap ca_pg_stop EXIT
  trap 'exit 130' INT TERM
  chmod 700 "$CA_PG_DIR"
  CA_PG_PORT=$((20000 + RANDOM % 30000))
  local certs="$CA_PG_DIR/certs"
  mkdir -p "$certs"
  if ! {
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=customs-assistant test root" \
      -keyout "$certs/root.key" -out "$certs/root.crt" &&
      openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout "$certs/server.key" -out "$certs/server.csr" &&
      printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' >"$certs/san.ext" &&
      openssl x509 -req -in "$certs/server.csr" -CA "$certs/root.crt" -CAkey "$certs/root.key" -CAcreateserial \
        -days 2 -extfile "$certs/san.ext" -out "$certs/server.crt"
  } >"$CA_PG_DIR/certs.log" 2>&1; then
    cat "$CA_PG_DIR/certs.log" >&2
    echo "The test server's certificates could not be made" >&2
    return 1
  fi
  chmod 600 "$certs/server.key"
  chmod 644 "$certs/root.crt"
  chmod 755 "$certs"
  [ "$(id -u)" -eq 0 ] && chown -R postgres: "$CA_PG_DIR"
  if ! ca_pg_as_owner "$CA_PG_BIN/initdb" -D "$CA_PG_DIR/data" -U ca_admin -A trust -E UTF8 --locale=C \
      --no-sync >"$CA_PG_DIR/initdb.log" 2>&1; then
    cat "$CA_PG_DIR/initdb.log" >&2
    echo "The test database server could not be initialised" >&2
    return 1
  fi
  # The administrator on the socket; every TCP connection with a scram-sha-256 password.
  printf 'local all all trust\nhost all all 127.0.0.1/32 scram-sha-256\n' >"$CA_PG_DIR/data/pg_hba.conf"
  cat >>"$CA_PG_DIR/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $CA_PG_PORT
unix_socket_directories = '$CA_PG_DIR'
password_encryption = 'scram-sha-256'
ssl_cert_file = '$certs/server.crt'
ssl_key_file = '$certs/server.key'
fsync = off
synchronous_commit = off
full_page_writes = off
max_connections = 100
CONF
  ca_pg_tls_start on || return 1
  CA_PG_ADMIN=(-X -q -h "$CA_PG_DIR" -p "$CA_PG_PORT" -U ca_admin)
  CA_PG_PASSWORD='Ge heim&1@x'
  psql "${CA_PG_ADMIN[@]}" -d postgres -c "CREATE ROLE clerk LOGIN PASSWORD '$CA_PG_PASSWORD'" >/dev/null
  CA_PG_TCP="host=127.0.0.1 port=$CA_PG_PORT user=clerk"
  CA_PG_ROOT_CERT="$certs/root.crt"
  export CA_PG_TCP CA_PG_PASSWORD CA_PG_ROOT_CERT
}

# ca_pg_tls_start on|off: starts the cluster ca_pg_start_tls made, with TLS on or off.
ca_pg_tls_start() {
  if ! ca_pg_as_owner "$CA_PG_BIN/pg_ctl" -D "$CA_PG_DIR/data" -l "$CA_PG_DIR/server.log" -w -t 60 \
      -o "-c ssl=$1" start >/dev/null; then
    cat "$CA_PG_DIR/server.log" >&2
    echo "The test database server did not start" >&2
    return 1
  fi
}

# Stops it at once for the clients: their connections end as at an office server's shutdown.
ca_pg_tls_stop() {
  ca_pg_as_owner "$CA_PG_BIN/pg_ctl" -D "$CA_PG_DIR/data" -m fast -w -t 60 stop >/dev/null
}

# ca_pg_tls_database NAME: an empty database the user owns, with the citext extension the program
# needs (an office's administrator installs it once).
ca_pg_tls_database() {
  psql "${CA_PG_ADMIN[@]}" -d postgres -c "CREATE DATABASE $1 OWNER clerk" >/dev/null &&
    psql "${CA_PG_ADMIN[@]}" -d "$1" -c "CREATE EXTENSION citext" >/dev/null
}

# ca_dump_server_tables NAME: ca_dump_download_tables for a database on that server.
ca_dump_server_tables() {
  local t
  for t in loaddata subdata t_fee t_fee1; do
    echo "== $t"
    psql "${CA_PG_ADMIN[@]}" -d "$1" -At -c "COPY (SELECT * FROM $t) TO STDOUT WITH (FORMAT csv, HEADER)" |
      { IFS= read -r header; echo "$header"; LC_ALL=C sort; }
  done
}
