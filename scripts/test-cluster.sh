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
