#!/usr/bin/env bash
# Black-box check of customs-assistant-cli find and business-data: CLI
source "$(dirname "$0")/../../scripts/tests/checks.sh"
cli="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

sql() { "$cli" sql --db db.sqlite "$1" > /dev/null; }
# Three declarations in January 2011 (one with 6 goods lines, one outside general trade without
# any) and one in February.
sql "insert into LoadData(TY_No,HG_No,SB_Date,indate,inouttype,JYDW_Name,phone,YSGJ,JGFS,SBDW_No,SPXS) values
  ('520120111000000001','520100000000000001','2011-01-05','2011-01-06','进口报关单','O''Neil 公司','111','船@1','一般贸易','5201980001',6),
  ('520120111000000002','520100000000000002','2011-01-31','2011-01-31','出口报关单','华南公司','222','粤海','进料加工','5201980001',1),
  ('520120111000000003','520100000000000003','2011-01-20','2011-01-20','出口报关单','东方公司','333','粤海','来料加工','5201980001',11),
  ('520120111000000004','520100000000000004','2011-02-01','2011-02-01','出口报关单','北方公司','111','粤海','进料加工','5201980001',1)"
for n in 1 2 3 4 5 6; do
  sql "insert into subData(Pid,SP_No,SPMC_Name,CJZJ,SCCJ) values ('520120111000000001','$n','钢材$n',10,'厂A')"
done
sql "insert into subData(Pid,SP_No,SPMC_Name,CJZJ,SCCJ) values ('520120111000000002','1','布',2.5,'厂B')"
sql "insert into subData(Pid,SP_No,SPMC_Name,CJZJ,SCCJ) values ('520120111000000004','1','纸',1,'厂C')"

# find: header line and the rows the filter finds, an apostrophe matched literally.
"$cli" find --db db.sqlite --from 2011-01-01 --to 2011-01-31 > found.tsv
[ "$(wc -l < found.tsv)" = 4 ] || fail "find January: $(cat found.tsv)"
grep -q "^TY_No	YLR_No	JKKA	" <<<"$(sed -n 1p found.tsv)" || fail "find header: $(sed -n 1p found.tsv)"
expect_eq "$(head -n 1 found.tsv | tr '\t' '\n' | wc -l)" 46 "find columns"
"$cli" find --db db.sqlite --company "O'Neil" | tail -n +2 | cut -f1 > one.txt
[ "$(cat one.txt)" = 520120111000000001 ] || fail "find company with apostrophe: $(cat one.txt)"
"$cli" find --db db.sqlite --unified 520120111000000001 | tail -n +2 > none.txt
[ ! -s none.txt ] || fail "the whole unified number matched"
if "$cli" find --db db.sqlite --from 2011-13-01 2> err.txt; then fail "bad date accepted"; fi
grep -q "不是有效的日期" err.txt || fail "bad date message"

# business-data, 生成EXCEL: the count, headings, page count, port mode and total price.
expect_eq "$("$cli" business-data --db db.sqlite --month 2011-01 --unit 5201980001 --out 一月.xls)" 2 "count"
"$cli" xls-dump 一月.xls > dump.tsv
grep -qx '1	1	序号' dump.tsv || fail "first heading"
grep -q '^1	2	' dump.tsv && fail "second heading is not empty"
grep -qx '1	19	进出口类型' dump.tsv || fail "last heading"
grep -qx '2	14	1' dump.tsv || fail "page count of 6 lines"
grep -qx '2	15	蛇口' dump.tsv || fail "port mode with @"
grep -qx '2	16	60' dump.tsv || fail "total price"
grep -qx '3	15	国转' dump.tsv || fail "port mode without @"
grep -qx '3	2	 ' dump.tsv || fail "empty data cell holds a blank"

# A second run on the same file appends below one empty row, headings included.
"$cli" business-data --db db.sqlite --month 2011-01 --unit "" --kind 出口和转关 --out 一月.xls > /dev/null
"$cli" xls-dump 一月.xls > dump2.tsv
head -n "$(wc -l < dump.tsv)" dump2.tsv | cmp - dump.tsv || fail "appending changed the old rows"
grep -qx '5	1	序号' dump2.tsv || fail "appended headings at row 5"
grep -qx '6	17	520120111000000002' dump2.tsv || fail "appended row"
grep -q '^7	' dump2.tsv && fail "import declaration listed as export"

# 生成非一般贸易数据 with a manufacturer that only filters 生成EXCEL, replacing an existing file.
"$cli" business-data --db db.sqlite --from 2011-01-01 --to 2011-01-31 --non-general-trade --out 一月.xls > /dev/null
"$cli" xls-dump 一月.xls > dump3.tsv
grep -qx '1	2	经营单位名称' dump3.tsv || fail "non-general-trade headings"
[ "$(grep -c '^[0-9]*	1	' dump3.tsv)" = 3 ] || fail "non-general-trade rows: $(cat dump3.tsv)"
grep -qx '3	12	2' dump3.tsv || grep -qx '2	12	2' dump3.tsv || fail "page count from the listed lines"

# Nothing matches: the message on standard error, status 1, the file left alone.
cp 一月.xls before.xls
if "$cli" business-data --db db.sqlite --month 2030-01 --out 一月.xls > out.txt 2> err.txt; then fail "no match succeeded"; fi
grep -qx '查不到符合条件的数据！' err.txt || fail "no-match message: $(cat err.txt)"
cmp 一月.xls before.xls || fail "no match changed the file"
if "$cli" business-data --db db.sqlite --month 2011-01 --out x.xlsx 2> err.txt; then fail ".xlsx accepted"; fi
[ ! -e x.xlsx ] || fail ".xlsx written"
if "$cli" business-data --db db.sqlite --month 2011-01 --kind 其他 --out y.xls 2> err.txt; then fail "bad kind"; fi
grep -q -- "--kind" err.txt || fail "bad kind message"
echo ok
