#!/usr/bin/env bash
# Black-box check of `migrate`: a desk's database copied into a new one with its rows per table, a
# second run refused without --merge and a no-op with it, and bad input refused with a Chinese
# message, exit status 1 and nothing written.
source "$(dirname "$0")/../../scripts/tests/checks.sh"
CLI="$1"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
SRC="$DIR/desk.sqlite"
sql() { "$CLI" sql --db "$1" "$2"; }

sql "$SRC" "insert into LoadData(TY_No,HG_No,indate,inouttype) values('TY1','HG1','2011-01-05','进口报关单')" >/dev/null
sql "$SRC" "insert into subData(Pid,SP_No,SPMC_Name,CJZJ) values('TY1','1','钢材',12.5)" >/dev/null
for t in T_fee T_fee1; do
  sql "$SRC" "insert into $t(kh,sdate,goods,ty_no) values('客户甲','2011-01-05','钢材','TY1')" >/dev/null
done
"$CLI" fee-item add zdy01 自定义收费01 --db "$SRC" >/dev/null
sql "$SRC" "update T_fee set zdy01=7.5 where ty_no='TY1'" >/dev/null
echo 'pw' | "$CLI" user add --name 管理员 --department 办公室 --category 1 --db "$SRC" >/dev/null

DST="$DIR/server.sqlite"
"$CLI" migrate --from "$SRC" --to "$DST" > "$DIR/out" || fail "first copy: $(cat "$DIR/out")"
printf '%s\n' "数据表	源数据库行数	新增	已存在（未改动）" "func_desc	25	1	24" "DEP	1	1	0" "employee	1	1	0" \
  "limit	25	25	0" "LoadData	1	1	0" "subData	1	1	0" "T_fee	1	1	0" "T_fee1	1	1	0" \
  "新增费用字段：T_fee.zdy01、T_fee1.zdy01" "迁移完成：共新增 32 行" > "$DIR/expected"
diff "$DIR/expected" "$DIR/out" || fail "report"
[ "$(sql "$DST" "select ty_no,zdy01 from T_fee" | tail -1)" = "$(printf 'TY1\t7.5')" ] || fail "added column"
[ "$(sql "$DST" "select E_name from employee" | tail -1)" = "管理员" ] || fail "users"

snapshot() { for t in LoadData subData T_fee T_fee1 func_desc employee DEP limit; do sql "$DST" "select * from $t"; done; }
BEFORE="$(snapshot)"
if "$CLI" migrate --from "$SRC" --to "$DST" > /dev/null 2> "$DIR/err"; then fail "second copy accepted"; fi
grep -qF '目标数据库中已有 1 份报关单，未写入任何内容。确实要把源数据库合并进去时，请加 --merge' "$DIR/err" \
  || fail "refusal: $(cat "$DIR/err")"
"$CLI" migrate --from "$SRC" --to "$DST" --merge > "$DIR/out"
grep -qx '迁移完成：共新增 0 行' "$DIR/out" || fail "merge: $(cat "$DIR/out")"
[ "$(snapshot)" = "$BEFORE" ] || fail "merge changed the target"
[ -z "$(find "$DIR" -name '*费用不同*')" ] || fail "a list of differences without differences"

# Fees entered on the target stay; each declaration whose fees differ is listed with both amounts,
# in the output and in a file beside the source, and counted.
sql "$DST" "update T_fee set bgf=99, zdy01=0 where ty_no='TY1'" >/dev/null
BEFORE="$(snapshot)"
"$CLI" migrate --from "$SRC" --to "$DST" --merge > "$DIR/out" || fail "merge with differences: $(cat "$DIR/out")"
[ "$(snapshot)" = "$BEFORE" ] || fail "the merge changed the target's fees"
LINE='TY1：bgf（报关费）源数据库 空，目标数据库 99；zdy01（自定义收费01）源数据库 7.5，目标数据库 0'
grep -qxF "$LINE" "$DIR/out" || fail "difference line: $(cat "$DIR/out")"
grep -qF '共 1 份报关单的费用不同（清单已写入“' "$DIR/out" || fail "count: $(cat "$DIR/out")"
LIST="$(find "$DIR" -maxdepth 1 -name 'desk-费用不同-*.txt')"
[ -n "$LIST" ] && grep -qF "$LINE" "$LIST" || fail "list file beside the source: $(ls "$DIR")"
grep -qF "$LIST" "$DIR/out" || fail "the output names another file: $(cat "$DIR/out")"
rm -f "$LIST"

# Bad input: each refused with its message; no target file is left behind.
printf 'not a database' > "$DIR/text.sqlite"
printf 'x' > "$DIR/short.sqlite"
mkdir "$DIR/folder"
: > "$DIR/empty.sqlite"
sqlite3 "$DIR/other.sqlite" "create table notes(x text)"
for bad in "Provider=SQLOLEDB;Password=Kl3rk-Pa55wd;Data Source=srv|ADO/ODBC 形式的连接串" \
           "$DIR/missing.sqlite|找不到源数据库文件" "$DIR/folder|是一个文件夹" "$DIR/empty.sqlite|是空文件" \
           "$DIR/text.sqlite|不是本程序的数据库（不是 SQLite 数据库文件）" "$DIR/short.sqlite|不是 SQLite 数据库文件" \
           "$DIR/other.sqlite|源数据库不是本程序的数据库：没有数据表 LoadData"; do
  src="${bad%%|*}"; want="${bad#*|}"
  if "$CLI" migrate --from "$src" --to "$DIR/new.sqlite" > /dev/null 2> "$DIR/err"; then fail "accepted $src"; fi
  grep -qF "$want" "$DIR/err" || fail "message for $src: $(cat "$DIR/err")"
  [ ! -e "$DIR/new.sqlite" ] || fail "target written for $src"
  ! grep -qF 'Pa55wd' "$DIR/err" || fail "password shown: $(cat "$DIR/err")"
done
# A target that is neither a server nor a file name: refused, nothing made, no password shown.
for bad in "Server=10.0.0.5;Uid=clerk;Pwd=Kl3rk-Pa55wd;|ADO/ODBC 形式的连接串" "服务器|既不是已知的数据库服务器写法"; do
  dst="${bad%%|*}"; want="${bad#*|}"
  if (cd "$DIR" && "$CLI" migrate --from "$SRC" --to "$dst") > /dev/null 2> "$DIR/err"; then fail "accepted $dst"; fi
  grep -qF "$want" "$DIR/err" || fail "message for $dst: $(cat "$DIR/err")"
  ! grep -qF 'Pa55wd' "$DIR/err" || fail "password shown: $(cat "$DIR/err")"
  [ ! -e "$DIR/$dst" ] || fail "file made for $dst"
done
[ "$(cat "$DIR/short.sqlite")" = x ] || fail "source written"
if "$CLI" migrate --from "$SRC" --to "$DIR/no/such/folder/db.sqlite" > /dev/null 2> "$DIR/err"; then fail "bad target"; fi
grep -qF '不存在' "$DIR/err" || fail "bad target message: $(cat "$DIR/err")"
if "$CLI" migrate --from "$SRC" --to "$SRC" > /dev/null 2> "$DIR/err"; then fail "same file"; fi
grep -qF '同一个文件' "$DIR/err" || fail "same file message"
if "$CLI" migrate --from "$SRC" > /dev/null 2> "$DIR/err"; then fail "no target"; fi
grep -qF '用法：migrate' "$DIR/err" || fail "usage"
# A server that cannot be reached: its message, nothing else happens.
if "$CLI" migrate --from "$SRC" --to "host=$DIR/nosocket port=5 dbname=x user=x" > /dev/null 2> "$DIR/err"; then
  fail "unreachable server"
fi
grep -qF '无法连接数据库服务器' "$DIR/err" || fail "server message: $(cat "$DIR/err")"

# Onto the test server (scripts/test starts one): a schema of its own, dropped at the end.
if [ -n "${CA_TEST_PG:-}" ]; then
  SCHEMA="ca_migrate_cli_$$"
  psql -q "$CA_TEST_PG" -c "CREATE SCHEMA $SCHEMA" >/dev/null
  trap 'psql -q "$CA_TEST_PG" -c "DROP SCHEMA $SCHEMA CASCADE" >/dev/null 2>&1; rm -rf "$DIR"' EXIT
  SERVER="$CA_TEST_PG options='-csearch_path=$SCHEMA,public'"
  "$CLI" migrate --from "$SRC" --to "$SERVER" > "$DIR/out" || fail "server copy"
  diff "$DIR/expected" <(grep -v '^服务器已重新统计' "$DIR/out") || fail "server report"
  grep -qE '^服务器已重新统计 8 个数据表（ANALYZE，用时 [0-9.]+ 秒）$' "$DIR/out" || fail "ANALYZE time: $(cat "$DIR/out")"
  [ "$(sql "$SERVER" "select ty_no,zdy01 from T_fee" | tail -1)" = "$(printf 'TY1\t7.5')" ] || fail "server column"
  if "$CLI" migrate --from "$SRC" --to "$SERVER" > /dev/null 2> "$DIR/err"; then fail "server second copy"; fi
  "$CLI" migrate --from "$SRC" --to "$SERVER" --merge > "$DIR/out"
  grep -qx '迁移完成：共新增 0 行' "$DIR/out" || fail "server merge: $(cat "$DIR/out")"
  grep -q 'ANALYZE' "$DIR/out" && fail "statistics gathered though nothing changed: $(cat "$DIR/out")"

  # The server ends the copy's session while it waits at one table's bulk insert (another session's
  # lock holds it there), or after the commit while it gathers statistics.
  # run_ended LOCKMODE STATEMENT: runs the copy into a fresh schema, ends its session when it waits
  # in STATEMENT; the copy's status in $STATUS, its output in $DIR/out and $DIR/err.
  run_ended() {
    local schema="ca_migrate_lost_$$" app="ca_cli_migrate_$$" blocker="ca_cli_blocker_$$"
    psql -q "$CA_TEST_PG" -c "DROP SCHEMA IF EXISTS $schema CASCADE" -c "CREATE SCHEMA $schema" >/dev/null 2>&1
    LOST="$CA_TEST_PG options='-csearch_path=$schema,public'"
    sql "$LOST" "select count(*) from DEP" >/dev/null  # the tables, made before the lock is taken
    psql -q "$LOST application_name=$blocker" -c "BEGIN" -c "LOCK TABLE subdata IN $1 MODE" \
      -c "SELECT pg_sleep(60)" >/dev/null 2>&1 &
    local holder=$!
    "$CLI" migrate --from "$SRC" --to "$LOST application_name=$app" > "$DIR/out" 2> "$DIR/err" &
    local copy=$! ended=0
    for _ in $(seq 1 500); do
      ended="$(psql -At "$CA_TEST_PG" -c "SELECT count(pg_terminate_backend(pid, 10000)) FROM pg_stat_activity
        WHERE application_name = '$app' AND wait_event_type = 'Lock' AND query LIKE '$2%'")"
      [ "$ended" = 0 ] || break
      sleep 0.02
    done
    STATUS=0
    wait "$copy" || STATUS=$?
    psql -q "$CA_TEST_PG" -c "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = '$blocker'" >/dev/null
    wait "$holder" || true
    [ "$ended" != 0 ] || fail "the copy never waited in $2: $(cat "$DIR/out" "$DIR/err")"
  }
  run_ended SHARE 'INSERT INTO "subdata"'
  [ "$STATUS" = 1 ] || fail "lost connection: status $STATUS: $(cat "$DIR/out" "$DIR/err")"
  grep -qF '错误：迁移失败，目标数据库没有任何改动：与数据库服务器' "$DIR/err" && grep -qF '连接中断' "$DIR/err" \
    || fail "lost connection message: $(cat "$DIR/err")"
  ! grep -qF '记录' "$DIR/err" || fail "a row blamed for the lost connection: $(cat "$DIR/err")"
  ! grep -qF '迁移完成' "$DIR/out" || fail "reported as done: $(cat "$DIR/out")"
  for t in LoadData subData T_fee T_fee1 DEP employee limit; do
    [ "$(sql "$LOST" "select count(*) from $t" | tail -1)" = 0 ] || fail "$t holds rows after the failed copy"
  done
  run_ended 'SHARE UPDATE EXCLUSIVE' 'ANALYZE'
  [ "$STATUS" = 0 ] || fail "lost during ANALYZE: status $STATUS: $(cat "$DIR/out" "$DIR/err")"
  grep -qx '迁移完成：共新增 32 行' "$DIR/out" || fail "ANALYZE case output: $(cat "$DIR/out")"
  grep -qF '警告：数据已全部迁移并已保存，只是服务器没能重新统计数据表（ANALYZE）' "$DIR/err" \
    || fail "ANALYZE warning: $(cat "$DIR/err")"
  ! grep -qF '没有任何改动' "$DIR/err" || fail "said nothing changed: $(cat "$DIR/err")"
  [ "$(sql "$LOST" "select count(*) from subData" | tail -1)" = 1 ] || fail "the committed copy is gone"
  psql -q "$CA_TEST_PG" -c "DROP SCHEMA ca_migrate_lost_$$ CASCADE" >/dev/null 2>&1
else
  echo "migrate: no test server (CA_TEST_PG), the server part is skipped"
fi
echo "migrate: ok"
