#!/usr/bin/env bash
# Black-box check of what the commands write and say: an output never lands on the database or its
# companion files, whatever path names it; exports write .xls files only; a failed business-data
# export says "导出时出错！" and why; values echoed in messages never reach the terminal raw.
set -uo pipefail
CLI="$1"
DIR="$(mktemp -d)"
trap 'chmod -R u+w "$DIR"; rm -rf "$DIR"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
expect_error() {  # expected text, then the arguments
  local want="$1"; shift
  if "$CLI" "$@" </dev/null >/dev/null 2>"$DIR/err"; then fail "accepted: $*"; fi
  grep -qF -- "$want" "$DIR/err" || fail "wrong message for $*: $(cat "$DIR/err")"
}
cd "$DIR" || exit 1
mkdir data work
DB="$DIR/data/db.sqlite"
"$CLI" sql --db "$DB" "insert into LoadData(TY_No,HG_No,SB_Date,indate,inouttype,SBDW_No,JGFS) values
  ('520120111000000001','520100000000000001','2011-01-06','2011-01-06','进口报关单','5201980001','一般贸易'),
  ('520120111000000002','520100000000000002','2011-01-07','2011-01-07','出口报关单','5201980001','进料加工')" >/dev/null 2>&1 ||
  fail "fixture"
"$CLI" sql --db "$DB" "insert into subData(Pid,SP_No,SPMC_Name,CJZJ) values ('520120111000000001','1','钢材',10)" >/dev/null
for t in T_fee T_fee1; do
  "$CLI" sql --db "$DB" "insert into $t(kh,sdate,goods,bgno,ty_no) values('客户甲','2011-01-06','钢材','520100000000000001','520120111000000001')" >/dev/null
done

# 1. Outputs onto the database: refused by name, relative path, "..", a symbolic or a hard link, and
# for the companion files; the database stays as it was.
"$CLI" sql --db "$DB" "select count(*) as n from LoadData" >/dev/null  # the file is whole, no -wal left
ln -s ../data/db.sqlite work/link.xls
ln "$DB" work/hard.xls
cp "$DB" "$DIR/db.before"
for out in "$DB" "data/db.sqlite" "work/../data/db.sqlite" "work/link.xls" "work/hard.xls" "data/db.sqlite-wal" \
           "data/db.sqlite-journal"; do
  expect_error "这是正在使用的数据库" fee-query --db "$DB" --from 2011-01-01 --to 2011-01-31 --out "$out"
  grep -qF "“$out”" "$DIR/err" || fail "the file is not named: $(cat "$DIR/err")"
  expect_error "这是正在使用的数据库" business-data --db data/db.sqlite --month 2011-01 --unit "" \
    --non-general-trade --out "$out"
  expect_error "这是正在使用的数据库" business-data --db "$DB" --month 2011-01 --unit "" --out "$out"
  cmp -s "$DB" "$DIR/db.before" || fail "the database was written through $out"
  [ ! -e data/db.sqlite-journal ] || fail "a journal file was written"
done
"$CLI" fee-query --db "$DB" --from 2011-01-01 --to 2011-01-31 --out work/fees.xls >/dev/null || fail "a plain export"

# 2. One rule for the extension: an .xlsx name is refused by both exports, nothing is written.
for cmd in "fee-query --db $DB --out work/x.xlsx" "business-data --db $DB --month 2011-01 --unit 5201980001 --out work/x.XLSX"; do
  # shellcheck disable=SC2086
  expect_error "只能导出为 .xls 文件" $cmd
done
if printf 'a\n' | "$CLI" xls-write work/x.xlsx >/dev/null 2>"$DIR/err"; then fail "xls-write wrote an .xlsx name"; fi
grep -qF "只能导出为 .xls 文件" "$DIR/err" || fail "xls-write .xlsx: $(cat "$DIR/err")"
[ ! -e work/x.xlsx ] && [ ! -e work/x.XLSX ] || fail ".xlsx written"

# 3. A failed business-data export keeps "导出时出错！" and adds the cause.
bd() { "$CLI" business-data --db "$DB" --month 2011-01 --unit "" "$@"; }
if bd --out missing/x.xls >/dev/null 2>"$DIR/err"; then fail "missing folder accepted"; fi
grep -qx '导出时出错！' "$DIR/err" && grep -qF 'missing' "$DIR/err" || fail "missing folder: $(cat "$DIR/err")"
bd --out work/ro.xls >/dev/null 2>&1 || fail "first export"
chmod 444 work/ro.xls
if bd --out work/ro.xls >/dev/null 2>"$DIR/err"; then fail "read-only file accepted"; fi
grep -qx '导出时出错！' "$DIR/err" && grep -qF '只读' "$DIR/err" || fail "read-only: $(cat "$DIR/err")"
long="work/$(head -c 300 /dev/zero | tr '\0' a).xls"
if bd --out "$long" >/dev/null 2>"$DIR/err"; then fail "over-long name accepted"; fi
grep -qx '导出时出错！' "$DIR/err" && [ "$(wc -l < "$DIR/err")" -gt 1 ] || fail "over-long name: $(cat "$DIR/err")"
# A workbook with 65,535 rows: the rows that no longer fit are refused with their count.
seq 1 65535 | "$CLI" xls-write work/full.xls || fail "full workbook"
if bd --out work/full.xls >/dev/null 2>"$DIR/err"; then fail "65,537 rows accepted"; fi
grep -qx '导出时出错！' "$DIR/err" && [ "$(wc -l < "$DIR/err")" -gt 1 ] || fail "too many rows: $(cat "$DIR/err")"

# 4. Values echoed by password, user and fee-item come out with their control characters escaped.
esc="$(printf '\033')"; bel="$(printf '\007')"
hex="$("$CLI" password encrypt "a${esc}]0;owned${bel}b")"
[ "$("$CLI" password decrypt "$hex")" = 'a\x1b]0;owned\x07b' ] || fail "password decrypt: $("$CLI" password decrypt "$hex" | od -c | head -3)"
"$CLI" fee-item add "x${esc}[2J" 名称 --db "$DB" >"$DIR/out" 2>&1 && fail "fee code with controls accepted"
"$CLI" fee-item add zdy01 "名称${esc}[2J" --db "$DB" >>"$DIR/out" 2>&1
# A user name with a control character is refused (one name rule); nothing of it is stored.
echo pw | "$CLI" user add --name "王${esc}[31m" --department "部${esc}c" --db "$DB" >>"$DIR/out" 2>&1 &&
  fail "a user name with control characters accepted"
grep -qF '控制字符' "$DIR/out" || fail "control characters not named: $(cat "$DIR/out")"
[ "$("$CLI" sql --db "$DB" "select count(*) from DEP")" = "$(printf 'count(*)\n0')" ] || fail "a department was left"
echo pw | "$CLI" user passwd --name "无${esc}[31m" --db "$DB" >>"$DIR/out" 2>&1 && fail "unknown user accepted"
grep -qF '\x1b[2J' "$DIR/out" && grep -qF '无\x1b[31m' "$DIR/out" ||
  fail "values not shown escaped: $(cat "$DIR/out")"
if LC_ALL=C grep -q "$(printf '[\001-\010\013-\037\177]')" "$DIR/out"; then fail "raw control bytes: $(od -c "$DIR/out" | head)"; fi
echo "outputs: ok"
