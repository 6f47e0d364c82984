#!/usr/bin/env bash
# The server's own upkeep on a database the program set up: VACUUM and ANALYZE with an empty
# search_path (as autovacuum runs them), a dump restored with pg_dump | psql keeping every index,
# and a database of the earlier format, whose functions the upkeep could not find, brought up to
# date at its next opening. Uses the test server's own programs (scripts/test starts it).
set -euo pipefail
CLI="$1"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ -z "${CA_TEST_PG:-}" ]; then
  echo "server-upkeep: no test server (CA_TEST_PG), skipped"
  exit 0
fi
source "$ROOT/scripts/test-cluster.sh"
BIN="$(ca_pg_bindir)"
DIR="$(mktemp -d)"
ONE="ca_upkeep_$$"
TWO="ca_restore_$$"
fail() { echo "FAIL: $*" >&2; exit 1; }
admin() { "$BIN/psql" -X -q -v ON_ERROR_STOP=1 -d "$CA_TEST_PG" -c "$1" >/dev/null; }
cleanup() {
  admin "DROP DATABASE IF EXISTS $ONE" 2>/dev/null || true
  admin "DROP DATABASE IF EXISTS $TWO" 2>/dev/null || true
  rm -rf "$DIR"
}
trap cleanup EXIT
admin "CREATE DATABASE $ONE"
admin "CREATE DATABASE $TWO"
A="$CA_TEST_PG dbname=$ONE"
B="$CA_TEST_PG dbname=$TWO"
sql() { "$CLI" sql --db "$1" "$2"; }
on() { "$BIN/psql" -X -q -v ON_ERROR_STOP=1 -d "$@"; }

sql "$A" "insert into LoadData(TY_No,HG_No,indate,inouttype) values('TY1','220120111000001234','2011-01-05','进口报关单')" >/dev/null
for t in T_fee T_fee1; do
  sql "$A" "insert into $t(kh,sdate,goods,ty_no,bgno) values('客户甲','2011-01-05','钢材','TY1','220120111000001234')" >/dev/null
done
"$CLI" fee-item add zdy01 自定义收费01 --db "$A" >/dev/null
# Upkeep as autovacuum runs it: no schema on the search_path, so every function must name its own.
upkeep() { on "$1" -c "SET search_path = ''" -c "VACUUM ANALYZE" -c "ANALYZE public.t_fee, public.t_fee1" 2>&1; }

# A database of the earlier format: its mid calls ca_mid_refused and citext without their schema.
on "$A" -c "CREATE OR REPLACE FUNCTION public.mid(v text, s bigint, l bigint) RETURNS citext LANGUAGE sql
  IMMUTABLE AS \$f\$ SELECT CASE WHEN s < 1 OR l < 0 THEN ca_mid_refused(v)
  ELSE substr(v, least(s, 2147483647)::int, least(l, 2147483647)::int)::citext END \$f\$" \
  -c "UPDATE ca_schema SET version = 2"
if out="$(upkeep "$A")"; then fail "the earlier functions passed the upkeep: $out"; fi
grep -qF 'ca_mid_refused' <<<"$out" || fail "the earlier functions failed otherwise: $out"
# Its next opening brings it up to date.
[ "$(sql "$A" "select max(version) from ca_schema" | tail -1)" = 3 ] || fail "not upgraded"
out="$(upkeep "$A")" || fail "upkeep with an empty search_path: $out"

# A dump restored into another database keeps every index (those on mid(bgno,10,9) included) and
# opens as the program's database.
"$BIN/pg_dump" -d "$A" -f "$DIR/dump.sql" || fail "pg_dump"
out="$(on "$B" -f "$DIR/dump.sql" 2>&1)" || fail "restore: $out"
indexes() {
  "$BIN/psql" -X -At -d "$1" -c "SELECT c.relname FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid
    JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = 'public' ORDER BY 1"
}
[ "$(indexes "$A")" = "$(indexes "$B")" ] || fail "indexes after the restore: $(diff <(indexes "$A") <(indexes "$B"))"
grep -qx 't_fee_bgno_serial' <<<"$(indexes "$B")" || fail "no index on mid(bgno,10,9): $(indexes "$B")"
[ "$(sql "$B" "select ty_no from T_fee where mid(bgno,10,9)='000001234'" | tail -1)" = TY1 ] || fail "restored data"
out="$(upkeep "$B")" || fail "upkeep of the restored database: $out"
echo "server-upkeep: ok"
