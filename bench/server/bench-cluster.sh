# Sourced by the server benchmarks: a throw-away PostgreSQL server with the server's default
# durability (every commit waits for the disk, as on an office's server), listening on a Unix socket
# in a temporary folder only; stopped and removed when the calling script ends. Further server
# settings, as an administrator would make them, come from CA_BENCH_SERVER_SETTINGS, e.g.
# CA_BENCH_SERVER_SETTINGS="-c synchronous_commit=off". Exports CA_BENCH_PG and CA_PG_BIN.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/test-cluster.sh"

ca_bench_server_start() {
  CA_PG_BIN=$(ca_pg_bindir)
  CA_PG_DIR=$(mktemp -d /tmp/ca-pg-bench.XXXXXX)
  trap ca_pg_stop EXIT
  chmod 700 "$CA_PG_DIR"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$CA_PG_DIR"
  local port=$((20000 + RANDOM % 30000))
  ca_pg_as_owner "$CA_PG_BIN/initdb" -D "$CA_PG_DIR/data" -U ca_bench -A trust -E UTF8 --locale=C >/dev/null
  ca_pg_as_owner "$CA_PG_BIN/pg_ctl" -D "$CA_PG_DIR/data" -l "$CA_PG_DIR/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$CA_PG_DIR' -p $port -c shared_buffers=256MB ${CA_BENCH_SERVER_SETTINGS:-}" start >/dev/null
  ca_pg_as_owner "$CA_PG_BIN/createdb" -h "$CA_PG_DIR" -p "$port" -U ca_bench ca_bench
  ca_pg_as_owner "$CA_PG_BIN/psql" -q -h "$CA_PG_DIR" -p "$port" -U ca_bench -d ca_bench -c "CREATE EXTENSION citext"
  export CA_PG_BIN
  export CA_BENCH_PG="host=$CA_PG_DIR port=$port dbname=ca_bench user=ca_bench"
  echo "Benchmark server: $CA_BENCH_PG"
}
