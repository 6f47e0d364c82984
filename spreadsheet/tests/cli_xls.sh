#!/usr/bin/env bash
# Black-box check of customs-assistant-cli xls-dump and xls-write: CLI FIXTURES_DIR
source "$(dirname "$0")/../../scripts/tests/checks.sh"
cli="$1"
fixtures="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Dump of a fixture: the active sheet, escapes, numbers in general form, formula results.
"$cli" xls-dump "$fixtures/mixed.xls" > "$work/dump.tsv"
grep -qx '1	2	中文文本' "$work/dump.tsv" || fail "Chinese text"
grep -qx '2	6	1E-05' "$work/dump.tsv" || fail "small number"
grep -qx '4	2	abcd' "$work/dump.tsv" || fail "formula text result"
grep -qx '5	2	2011-02-17 13:45:30' "$work/dump.tsv" || fail "date and time"
grep -qx '8	21	far cell' "$work/dump.tsv" || fail "far cell"

# Write, dump, append, dump: escapes survive, the appended block follows one empty row.
printf 'a\\tb\t报关\n\t0012\nback\\\\slash\tline\\nbreak\n' | "$cli" xls-write "$work/out.xls" --sheet 导出
"$cli" xls-dump "$work/out.xls" > "$work/out.tsv"
printf '1\t1\ta\\tb\n1\t2\t报关\n2\t2\t0012\n3\t1\tback\\\\slash\n3\t2\tline\\nbreak\n' > "$work/expected.tsv"
cmp "$work/out.tsv" "$work/expected.tsv" || fail "write/dump round trip: $(cat "$work/out.tsv")"
printf 'new\n' | "$cli" xls-write "$work/out.xls" --append
"$cli" xls-dump "$work/out.xls" > "$work/appended.tsv"
expect_eq "$(tail -n 1 "$work/appended.tsv")" '5	1	new' "append position"

# Errors: one line on standard error, exit status 1, the file left alone.
if "$cli" xls-dump "$fixtures/make_fixtures.py" 2> "$work/err"; then fail "dump of a non-workbook succeeded"; fi
grep -q "^错误：无法读取“.*make_fixtures.py”：不是电子表格文件" "$work/err" || fail "error does not name the file and the cause: $(cat "$work/err")"
cp "$work/out.xls" "$work/before.xls"
if printf 'x\n' | "$cli" xls-write "$work/out.xls" --sheet 'a/b' 2> "$work/err"; then fail "bad sheet name accepted"; fi
cmp "$work/out.xls" "$work/before.xls" || fail "failed write changed the file"
echo ok
