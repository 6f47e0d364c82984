#!/usr/bin/env bash
# Black-box check of `fee-item` and `fee-query`: items added with their checks, the grid with
# subtotals and totals row, the filters, and the export read back with xls-dump.
source "$(dirname "$0")/../../scripts/tests/checks.sh"
CLI="$1"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
DB="$DIR/DB.sqlite"
sql() { "$CLI" sql --db "$DB" "$1" > /dev/null; }

# Two declarations of January 2011 and one of February, with their fee rows.
for d in "TY0000000000000001|520120111000000001|2011-01-05|客户甲|钢材" \
         "TY0000000000000002|520120111000000002|2011-01-31|客户乙|铜" \
         "TY0000000000000003|520120111000000003|2011-02-01|客户丙|铝"; do
  IFS='|' read -r ty hg day kh goods <<< "$d"
  sql "insert into LoadData(TY_No,HG_No,indate,phone) values('$ty','$hg','$day','138')"
  for t in T_fee T_fee1; do
    sql "insert into $t(kh,sdate,goods,htno,tdno,bgno,ty_no) values('$kh','$day','$goods','HT','TD','$hg','$ty')"
  done
done
sql "delete from func_desc where Fd_func_code<>'bgf'"
sql "update T_fee set bgf=12.5 where ty_no='TY0000000000000001'"
sql "update T_fee set bgf=0 where ty_no<>'TY0000000000000001'"

# Fee items: added once, refused with the dialog's messages and exit status 1.
expect_eq "$("$CLI" fee-item add zdy01 自定义收费项目01 --db "$DB")" "增加成功！" "add"
for bad in "ty_no|ty_no 是系统字段不可用！" "zdy01|已经存在相同的新字段名称！请重新输入。" "1abc|新字段名称“1abc”"; do
  code="${bad%%|*}"; want="${bad#*|}"
  if "$CLI" fee-item add "$code" 名称 --db "$DB" 2> "$DIR/err"; then fail "accepted $code"; fi
  grep -qF "$want" "$DIR/err" || fail "message for $code: $(cat "$DIR/err")"
done
expect_eq "$("$CLI" fee-item list --db "$DB")" "$(printf 'bgf\t报关费\nzdy01\t自定义收费项目01')" "list"

# A declaration stored after the item was added has Null in its column: blank cell, counted as 0.
sql "update T_fee set zdy01=null where ty_no='TY0000000000000002'"
"$CLI" fee-query --db "$DB" --from 2011-01-01 --to 2011-01-31 > "$DIR/grid.tsv" 2> "$DIR/count"
printf '%s\n' "客户名称	报关单号	日期	合同号	提单号	货号	报关费	自定义收费项目01	小计" \
  "客户甲	520120111000000001	2011-01-05	HT	TD	钢材	12.5	0	12.50" \
  "客户乙	520120111000000002	2011-01-31	HT	TD	铜	0	 	0.00" \
  " 	 	 	 	 	合计：	12.50	0.00	12.50" > "$DIR/expected.tsv"
cmp "$DIR/grid.tsv" "$DIR/expected.tsv" || fail "grid: $(cat "$DIR/grid.tsv")"
grep -qx '总记录数：2' "$DIR/count" || fail "count"
[ "$("$CLI" fee-query --db "$DB" --from 2011-01-01 --to 2011-02-28 --zero-only 2>/dev/null | cut -f2 | sed -n "2,3p")" \
  = "$(printf '520120111000000002\n520120111000000003\n')" ] || fail "zero only"
[ "$("$CLI" fee-query --db "$DB" --from 2011-01-01 --to 2011-02-28 --customer "O'Hara" 2>/dev/null | wc -l)" = 1 ] \
  || fail "apostrophe filter"

# Export: every cell of the grid, header and totals row included.
"$CLI" fee-query --db "$DB" --from 2011-01-01 --to 2011-01-31 --out "$DIR/fees.xls" > /dev/null
"$CLI" xls-dump "$DIR/fees.xls" > "$DIR/dump.tsv"
grep -qx '1	9	小计' "$DIR/dump.tsv" || fail "export header"
grep -qx '3	8	 ' "$DIR/dump.tsv" || fail "export blank cell"
grep -qx '4	6	合计：' "$DIR/dump.tsv" || fail "export totals row"

# Bad use: exit status 1.
for bad in "fee-query --db $DB --from 2011-13-01" "fee-query --db $DB --what x" "fee-item --db $DB" \
           "fee-item add onlycode --db $DB"; do
  if "$CLI" $bad 2>/dev/null; then fail "accepted: $bad"; fi
done
echo ok
