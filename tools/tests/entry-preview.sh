#!/usr/bin/env bash
# Black-box check of `entry-preview`: the settings come from the given config.ini, every write is one
# tab-separated line of six fields with its pause, a last line gives the sum of the pauses, bad use
# and unreadable files exit 1 with a message.
set -euo pipefail
CLI="$1"
SAMPLES="$2"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
INI="$DIR/config.ini"
"$CLI" config set 商品征免 照章征税 --file "$INI"
"$CLI" config set 申报单位 3302980001 --file "$INI"

# Every write is one line of six fields (its pause the fifth); the last line is the sum of the pauses.
check_lines() {
  local bad total sum
  bad="$(awk -F'\t' 'NF != 6 { print NR": "$0 }' <<<"$PREV")"
  [ -z "$bad" ] || { echo "lines of another shape: $bad" >&2; exit 1; }
  total="$(awk -F'\t' '$1 == "停顿合计毫秒" && NF == 2 { print $2 }' <<<"$LAST")"
  sum="$(awk -F'\t' '{ s += $5 } END { print s + 0 }' <<<"$PREV")"
  [ -n "$total" ] && [ "$total" = "$sum" ] || { echo "last line '$LAST', pauses of the writes $sum" >&2; exit 1; }
}
expect_line() {
  grep -qxF "$(printf "$1")" <<<"$OUT" || { echo "no line '$1' in:" >&2; echo "$OUT" >&2; exit 1; }
}
OUT="$("$CLI" entry-preview --kind import --config "$INI" "$SAMPLES/进口报关单样例.xls")"
PREV="$(sed '$d' <<<"$OUT")"
LAST="$(tail -1 <<<"$OUT")"
check_lines
[ "$(head -1 <<<"$OUT")" = "$(printf '1\tSidePanelEdits\t3\tpaste-confirm p=50 k=50\t100\t3104')" ] ||
  { echo "first line: $(head -1 <<<"$OUT")" >&2; exit 1; }
expect_line '5\tHeaderEdits\t52\tfocus-paste\t0\t3302980001'
[ "$(grep -c "$(printf '\tGoodsEdits\t4\tclick-paste select=no p=0 +enter k=10\t10\t照章征税')" <<<"$OUT")" = 3 ] ||
  { echo "goods duty lines:" >&2; grep GoodsEdits <<<"$OUT" >&2; exit 1; }
# The unlocking paste pauses too, and its pause counts in the sum.
UNLOCK="$(awk -F'\t' '$4 == "unlock-paste" { print $5 }' <<<"$PREV" | sort -u)"
[ "$UNLOCK" = 100 ] || { echo "unlock-paste pauses: '$UNLOCK'" >&2; exit 1; }

OUT="$("$CLI" entry-preview --config "$INI" "$SAMPLES/出口报关单样例.xls" --kind export)"
PREV="$(sed '$d' <<<"$OUT")"
LAST="$(tail -1 <<<"$OUT")"
check_lines
[ "$(grep -c "$(printf '\tGoodsEdits\t2\tpaste-confirm p=50 k=50 +sleep 10\t110\t照章征税')" <<<"$OUT")" = 2 ] ||
  { echo "goods duty lines:" >&2; grep GoodsEdits <<<"$OUT" >&2; exit 1; }

printf 'not a workbook' > "$DIR/bad.xls"
for bad in "entry-preview --kind import" "entry-preview --kind both $DIR/bad.xls" \
           "entry-preview --kind import $DIR/bad.xls" "entry-preview --kind import $DIR/missing.xls" \
           "entry-preview --kind import --config"; do
  if "$CLI" $bad 2>"$DIR/err"; then echo "accepted: $bad" >&2; exit 1; fi
  [ -s "$DIR/err" ] || { echo "no message: $bad" >&2; exit 1; }
done
# The message names the file and the cause, in Chinese.
"$CLI" entry-preview --kind import "$DIR/missing.xls" 2>"$DIR/err" || true
grep -qx "错误：无法打开“$DIR/missing.xls”：文件或文件夹不存在" "$DIR/err" || { cat "$DIR/err" >&2; exit 1; }
echo ok
