#!/usr/bin/env bash
# Black-box check of `download-sim`: every demo fixture downloads completely into a database file that
# `sql` can read; a second run updates in place; bad use exits 1 with the reason on standard error.
source "$(dirname "$0")/../../scripts/tests/checks.sh"
CLI="$1"
DEMO="$2"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT

for kind in import export transit; do
  DB="$DIR/$kind.sqlite"
  out="$("$CLI" download-sim --fixture "$DEMO/download-$kind.json" --db "$DB")"
  expect_eq "$(printf '%s\n' "$out" | tail -n 1)" "恭喜，导入完成！"
  expect_eq "$(printf '%s\n' "$out" | grep -c '（录入）')" "12"
  expect_eq "$("$CLI" sql --db "$DB" "select count(*) as n from LoadData" | tail -n 1)" "12"
  expect_eq "$("$CLI" sql --db "$DB" "select count(*) as n from T_fee" | tail -n 1)" "12"
  lines="$("$CLI" sql --db "$DB" "select count(*) as n from subData" | tail -n 1)"
  [ "$lines" -gt 0 ]
  again="$("$CLI" download-sim --fixture "$DEMO/download-$kind.json" --db "$DB")"
  expect_eq "$(printf '%s\n' "$again" | grep -c '（修改）')" "12"
  expect_eq "$("$CLI" sql --db "$DB" "select count(*) as n from subData" | tail -n 1)" "$lines"
done

# A client slower than the configured main delay (0, or less): every declaration is still stored from
# its own form, with its own goods count and all its goods lines, as with the default delay.
"$CLI" download-sim --fixture "$DEMO/download-import.json" --db "$DIR/paced.sqlite" >/dev/null
for delay in 0 -20; do
  INI="$DIR/fast$delay.ini"
  "$CLI" config set 主单延迟 "$delay" --file "$INI"
  "$CLI" config set 容器类名 WindowsForms10.Window.8.app.0.sim --file "$INI"
  "$CLI" config set 编辑框类名 WindowsForms10.EDIT.app.0.sim --file "$INI"
  "$CLI" config set 表格类名 WindowsForms10.SysListView32.app.0.sim --file "$INI"
  "$CLI" config set 按钮类名 WindowsForms10.BUTTON.app.0.sim --file "$INI"
  "$CLI" config set 下拉框类名 WindowsForms10.COMBOBOX.app.0.sim --file "$INI"
  DB="$DIR/fast$delay.sqlite"
  out="$("$CLI" download-sim --fixture "$DEMO/download-import.json" --db "$DB" --config "$INI")"
  expect_eq "$(printf '%s\n' "$out" | tail -n 1)" "恭喜，导入完成！"
  ! grep -q '此单' <<<"$out" || fail "a declaration was reported missing: $out"
  for table in "LoadData order by TY_No" "subData order by Pid, SP_No"; do
    cols="$([ "${table%% *}" = LoadData ] && echo "TY_No, SPXS, HG_No, opertor" || echo "Pid, SP_No, SPMC_Name")"
    expect_eq "$("$CLI" sql --db "$DB" "select $cols from $table")" "$("$CLI" sql --db "$DIR/paced.sqlite" "select $cols from $table")"
  done
  expect_eq "$("$CLI" sql --db "$DB" "select count(*) as n from subData" | tail -n 1)" "19"
done

printf '{"queryDate": "20240230", "kind": "进口报关单", "rows": []}' > "$DIR/bad-date.json"
out="$("$CLI" download-sim --fixture "$DIR/bad-date.json" --db "$DIR/x.sqlite" 2>"$DIR/err" || true)"
[ "$out" = "2024-02-30不是一个有效的 日期 ，清输入正确查询日期" ]
grep -q "下载没有开始" "$DIR/err"

printf '{"rows": [' > "$DIR/broken.json"
for bad in "download-sim" "download-sim --fixture $DIR/broken.json --db $DIR/y.sqlite" \
           "download-sim --fixture $DIR/missing.json" "download-sim --fixture $DEMO/download-import.json --config $DIR/none.ini" \
           "download-sim --fixture $DEMO/download-import.json --bogus"; do
  if "$CLI" $bad >/dev/null 2>"$DIR/err"; then fail "accepted: $bad"; fi
  [ -s "$DIR/err" ] || fail "no reason given: $bad"
done
# Each refusal names the real problem and the path.
expect_error() {  # expected text, then the arguments
  local want="$1"; shift
  if "$CLI" "$@" >/dev/null 2>"$DIR/err"; then fail "accepted: $*"; fi
  grep -qF "$want" "$DIR/err" || fail "wrong message for $*: $(cat "$DIR/err")"
}
expect_error "模拟数据文件“$DIR”是一个文件夹，不是文件" download-sim --fixture "$DIR"
expect_error "模拟数据文件“$DIR/missing.json”不存在" download-sim --fixture "$DIR/missing.json"
expect_error "设置文件“$DIR”是一个文件夹，不是文件" download-sim --fixture "$DEMO/download-import.json" --config "$DIR"
expect_error "设置文件“$DIR/none.ini”不存在" download-sim --fixture "$DEMO/download-import.json" --config "$DIR/none.ini"
echo ok
