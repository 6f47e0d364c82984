#!/usr/bin/env bash
# Black-box check of `entry-preview`: the settings come from the given config.ini, every write is one
# tab-separated line of five fields, bad use and unreadable files exit 1 with a message.
source "$(dirname "$0")/../../scripts/tests/checks.sh"
CLI="$1"
SAMPLES="$2"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
INI="$DIR/config.ini"
"$CLI" config set 商品征免 照章征税 --file "$INI"
"$CLI" config set 申报单位 3302980001 --file "$INI"

OUT="$("$CLI" entry-preview --kind import --config "$INI" "$SAMPLES/进口报关单样例.xls")"
expect_eq "$(sed -n 1p <<<"$OUT")" "$(printf '1\tSidePanelEdits\t3\tpaste-confirm p=50 k=50\t3104')" "the first write"
grep -qx "$(printf '5\tHeaderEdits\t52\tfocus-paste\t3302980001')" <<<"$OUT" || fail "no write of the declaring unit in: $OUT"
expect_eq "$(grep -c "$(printf '\tGoodsEdits\t4\tclick-paste select=no p=0 +enter k=10\t照章征税')" <<<"$OUT")" 3 "goods lines with the exemption"
expect_eq "$(awk -F'\t' 'NF != 5' <<<"$OUT")" "" "writes without five fields"

OUT="$("$CLI" entry-preview --config "$INI" "$SAMPLES/出口报关单样例.xls" --kind export)"
expect_eq "$(grep -c "$(printf '\tGoodsEdits\t2\tpaste-confirm p=50 k=50 +sleep 10\t照章征税')" <<<"$OUT")" 2 "export goods lines with the exemption"

printf 'not a workbook' > "$DIR/bad.xls"
for bad in "entry-preview --kind import" "entry-preview --kind both $DIR/bad.xls" \
           "entry-preview --kind import $DIR/bad.xls" "entry-preview --kind import $DIR/missing.xls" \
           "entry-preview --kind import --config"; do
  if "$CLI" $bad 2>"$DIR/err"; then fail "accepted: $bad"; fi
  [ -s "$DIR/err" ] || fail "no message: $bad"
done
# The message names the file and the cause, in Chinese.
"$CLI" entry-preview --kind import "$DIR/missing.xls" 2>"$DIR/err" || true
grep -qx "错误：无法打开“$DIR/missing.xls”：文件或文件夹不存在" "$DIR/err" || fail "the message of a missing file: $(cat "$DIR/err")"
echo ok
