#!/usr/bin/env bash
# Black-box check of `entry-preview`: the settings come from the given config.ini, every write is one
# tab-separated line of five fields, bad use and unreadable files exit 1 with a message.
set -euo pipefail
CLI="$1"
SAMPLES="$2"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
INI="$DIR/config.ini"
"$CLI" config set 商品征免 照章征税 --file "$INI"
"$CLI" config set 申报单位 3302980001 --file "$INI"

OUT="$("$CLI" entry-preview --kind import --config "$INI" "$SAMPLES/进口报关单样例.xls")"
[ "$(printf '%s\n' "$OUT" | head -1)" = "$(printf '1\tSidePanelEdits\t3\tpaste-confirm p=50 k=50\t3104')" ]
printf '%s\n' "$OUT" | grep -qx "$(printf '5\tHeaderEdits\t52\tfocus-paste\t3302980001')"
[ "$(printf '%s\n' "$OUT" | grep -c "$(printf '\tGoodsEdits\t4\tclick-paste select=no p=0 +enter k=10\t照章征税')")" = 3 ]
[ "$(printf '%s\n' "$OUT" | awk -F'\t' 'NF != 5' | wc -l)" = 0 ]

OUT="$("$CLI" entry-preview --config "$INI" "$SAMPLES/出口报关单样例.xls" --kind export)"
[ "$(printf '%s\n' "$OUT" | grep -c "$(printf '\tGoodsEdits\t2\tpaste-confirm p=50 k=50 +sleep 10\t照章征税')")" = 2 ]

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
