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
expect_eq "$(sql "$DST" "select ty_no,zdy01 from T_fee" | tail -1)" "$(printf 'TY1\t7.5')" "added column"
expect_eq "$(sql "$DST" "select E_name from employee" | tail -1)" "管理员" "users"

snapshot() { for t in LoadData subData T_fee T_fee1 func_desc employee DEP limit; do sql "$DST" "select * from $t"; done; }
BEFORE="$(snapshot)"
if "$CLI" migrate --from "$SRC" --to "$DST" > /dev/null 2> "$DIR/err"; then fail "second copy accepted"; fi
grep -qF '目标数据库中已有 1 份报关单，未写入任何内容。确实要把源数据库合并进去时，请加 --merge' "$DIR/err" \
  || fail "refusal: $(cat "$DIR/err")"
"$CLI" migrate --from "$SRC" --to "$DST" --merge > "$DIR/out"
grep -qx '迁移完成：共新增 0 行' "$DIR/out" || fail "merge: $(cat "$DIR/out")"
expect_eq "$(snapshot)" "$BEFORE" "merge changed the target"

# Bad input: each refused with its message; no target file is left behind.
printf 'not a database' > "$DIR/text.sqlite"
printf 'x' > "$DIR/short.sqlite"
mkdir "$DIR/folder"
: > "$DIR/empty.sqlite"
sqlite3 "$DIR/other.sqlite" "create table notes(x text)"
for bad in "$DIR/missing.sqlite|找不到源数据库文件" "$DIR/folder|是一个文件夹" "$DIR/empty.sqlite|是空文件" \
           "$DIR/text.sqlite|不是本程序的数据库（不是 SQLite 数据库文件）" "$DIR/short.sqlite|不是 SQLite 数据库文件" \
           "$DIR/other.sqlite|源数据库不是本程序的数据库：没有数据表 LoadData"; do
  src="${bad%%|*}"; want="${bad#*|}"
  if "$CLI" migrate --from "$src" --to "$DIR/new.sqlite" > /dev/null 2> "$DIR/err"; then fail "accepted $src"; fi
  grep -qF "$want" "$DIR/err" || fail "message for $src: $(cat "$DIR/err")"
  [ ! -e "$DIR/new.sqlite" ] || fail "target written for $src"
done
expect_eq "$(cat "$DIR/short.sqlite")" x "source written"
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
  diff "$DIR/expected" "$DIR/out" || fail "server report"
  expect_eq "$(sql "$SERVER" "select ty_no,zdy01 from T_fee" | tail -1)" "$(printf 'TY1\t7.5')" "server column"
  if "$CLI" migrate --from "$SRC" --to "$SERVER" > /dev/null 2> "$DIR/err"; then fail "server second copy"; fi
  MERGED="$("$CLI" migrate --from "$SRC" --to "$SERVER" --merge)" || fail "server merge failed: $MERGED"
  grep -qx '迁移完成：共新增 0 行' <<<"$MERGED" || fail "server merge said: $MERGED"
else
  echo "migrate: no test server (CA_TEST_PG), the server part is skipped"
fi
echo "migrate: ok"
