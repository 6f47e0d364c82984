#!/usr/bin/env bash
# Black-box check of `download-sim`: every demo fixture downloads completely into a database file that
# `sql` can read; a second run updates in place; bad use exits 1 with the reason on standard error.
set -euo pipefail
CLI="$1"
DEMO="$2"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT

for kind in import export transit; do
  DB="$DIR/$kind.sqlite"
  out="$("$CLI" download-sim --fixture "$DEMO/download-$kind.json" --db "$DB")"
  [ "$(printf '%s\n' "$out" | tail -n 1)" = "恭喜，导入完成！" ]
  [ "$(printf '%s\n' "$out" | grep -c '（录入）')" = "12" ]
  [ "$("$CLI" sql --db "$DB" "select count(*) as n from LoadData" | tail -n 1)" = "12" ]
  [ "$("$CLI" sql --db "$DB" "select count(*) as n from T_fee" | tail -n 1)" = "12" ]
  lines="$("$CLI" sql --db "$DB" "select count(*) as n from subData" | tail -n 1)"
  [ "$lines" -gt 0 ]
  again="$("$CLI" download-sim --fixture "$DEMO/download-$kind.json" --db "$DB")"
  [ "$(printf '%s\n' "$again" | grep -c '（修改）')" = "12" ]
  [ "$("$CLI" sql --db "$DB" "select count(*) as n from subData" | tail -n 1)" = "$lines" ]
done

printf '{"queryDate": "20240230", "kind": "进口报关单", "rows": []}' > "$DIR/bad-date.json"
out="$("$CLI" download-sim --fixture "$DIR/bad-date.json" --db "$DIR/x.sqlite" 2>"$DIR/err" || true)"
[ "$out" = "2024-02-30不是一个有效的 日期 ，清输入正确查询日期" ]
grep -q "下载没有开始" "$DIR/err"

printf '{"rows": [' > "$DIR/broken.json"
for bad in "download-sim" "download-sim --fixture $DIR/broken.json --db $DIR/y.sqlite" \
           "download-sim --fixture $DIR/missing.json" "download-sim --fixture $DEMO/download-import.json --config $DIR/none.ini" \
           "download-sim --fixture $DEMO/download-import.json --bogus"; do
  if "$CLI" $bad >/dev/null 2>"$DIR/err"; then echo "accepted: $bad" >&2; exit 1; fi
  [ -s "$DIR/err" ] || { echo "no reason given: $bad" >&2; exit 1; }
done
echo ok
