#!/usr/bin/env bash
# Black-box checks of what a hostile user or a failing device does to the command-line tool: output
# that cannot be written fails the command with a message, control characters never reach the
# terminal raw, long statements are not echoed whole, settings GBK cannot hold are refused, appends
# respect the file they are given, and every refusal names the real problem and the path.
set -uo pipefail
CLI="$1"
FIXTURES="$2"   # spreadsheet/tests/fixtures
SAMPLES="$3"    # demo/samples
DIR="$(mktemp -d)"
trap 'chmod -R u+w "$DIR"; rm -rf "$DIR"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# 1. Standard output on a full device: every command fails with the cause on standard error.
"$CLI" sql --db "$DIR/db.sqlite" "create table t (a text)" >/dev/null || fail "create table"
for cmd in "xls-dump $FIXTURES/mixed.xls" "sql --db $DIR/db.sqlite select_1" \
           "entry-preview --kind import $SAMPLES/进口报关单样例.xls" "--help"; do
  # shellcheck disable=SC2086
  set -- ${cmd//select_1/select 1 as a}
  if [ "$1" = sql ]; then "$CLI" sql --db "$DIR/db.sqlite" "select 1 as a" >/dev/full 2>"$DIR/err"
  else "$CLI" "$@" >/dev/full 2>"$DIR/err"; fi
  status=$?
  [ "$status" -ne 0 ] || fail "$cmd > /dev/full ended with status 0"
  grep -q "磁盘空间不足" "$DIR/err" || fail "$cmd > /dev/full: $(cat "$DIR/err")"
done

# 2. A reader that goes away: no silent death by SIGPIPE, a message and status 1, the database whole.
python3 - "$DIR/big.json" <<'PY'
import json, sys
rows = [{"1": "TY%05d" % i, "5": "进料加工", "6": "1", "11": "1"} for i in range(3000)]
json.dump({"queryDate": "20240115", "kind": "进口报关单", "rows": rows}, open(sys.argv[1], "w"), ensure_ascii=False)
PY
"$CLI" download-sim --fixture "$DIR/big.json" --db "$DIR/big.sqlite" 2>"$DIR/err" | head -n 1 >/dev/null
status="${PIPESTATUS[0]}"
[ "$status" = 1 ] || fail "download-sim | head ended with status $status"
grep -q "管道已断开" "$DIR/err" || fail "no message after a broken pipe: $(cat "$DIR/err")"
[ "$("$CLI" sql --db "$DIR/big.sqlite" "select count(*) as n from LoadData" | tail -n 1)" = 3000 ] ||
  fail "download after a broken pipe"

# 3. Control characters from cells and the database are escaped, and xls-write reads them back.
printf 'a\\x1b[31mred\\x00z\tb\\x07\\u009b\n' | "$CLI" xls-write "$DIR/ctl.xls" || fail "xls-write of escapes"
"$CLI" xls-dump "$DIR/ctl.xls" > "$DIR/ctl.tsv"
[ "$(cat "$DIR/ctl.tsv")" = "$(printf '1\t1\ta\\x1b[31mred\\x00z\n1\t2\tb\\x07\\u009b')" ] ||
  fail "xls-dump of control characters: $(od -c "$DIR/ctl.tsv")"
esc="$(printf '\033')"
"$CLI" sql --db "$DIR/db.sqlite" "insert into t (a) values ('${esc}]0;owned$(printf '\007')x')" >/dev/null
"$CLI" sql --db "$DIR/db.sqlite" "select a from t" > "$DIR/sql.tsv"
[ "$(tail -n 1 "$DIR/sql.tsv")" = '\x1b]0;owned\x07x' ] || fail "sql output: $(od -c "$DIR/sql.tsv")"
if LC_ALL=C grep -q "$(printf '[\001-\010\013-\037\177]')" "$DIR/ctl.tsv" "$DIR/sql.tsv"; then fail "raw control bytes"; fi

# 4. A failing statement is echoed cut, with its length.
long="select * from nosuchtable where a='$(head -c 100000 /dev/zero | tr '\0' x)'"
"$CLI" sql --db "$DIR/db.sqlite" "$long" >/dev/null 2>"$DIR/err" && fail "bad statement accepted"
[ "$(wc -c < "$DIR/err")" -lt 2000 ] || fail "the whole statement was echoed ($(wc -c < "$DIR/err") bytes)"
grep -q "共 .* 个字符" "$DIR/err" || fail "no length in: $(cat "$DIR/err")"

# 5. Settings that GBK cannot hold are refused, naming the character; the file stays.
INI="$DIR/config.ini"
"$CLI" config set 申报单位 旧值 --file "$INI"
cp "$INI" "$DIR/before.ini"
"$CLI" config set 申报单位 "某某😀报关行" --file "$INI" 2>"$DIR/err" && fail "emoji accepted"
grep -q "“😀”（U+1F600）" "$DIR/err" || fail "character not named: $(cat "$DIR/err")"
cmp -s "$INI" "$DIR/before.ini" || fail "settings file changed"

# 6. Messages that name the real problem and the path.
expect_error() {  # expected text, then the arguments
  local want="$1"; shift
  if "$CLI" "$@" </dev/null >/dev/null 2>"$DIR/err"; then fail "accepted: $*"; fi
  grep -qF "$want" "$DIR/err" || fail "wrong message for $*: $(cat "$DIR/err")"
}
expect_error "设置文件“$DIR/”是一个文件夹，不是文件" config set 申报单位 x --file "$DIR/"
expect_error "设置文件“$DIR”是一个文件夹，不是文件" config get 申报单位 --file "$DIR"
expect_error "文件夹“$DIR/missing”不存在" config set 申报单位 x --file "$DIR/missing/config.ini"
expect_error "设置文件“$DIR”是一个文件夹，不是文件" entry-preview --kind import --config "$DIR" "$SAMPLES/进口报关单样例.xls"
expect_error "设置文件“$DIR/none.ini”不存在" entry-preview --kind import --config "$DIR/none.ini" "$SAMPLES/进口报关单样例.xls"
expect_error "文件夹“$DIR/missing”不存在" xls-write "$DIR/missing/out.xls"

# 7. An append refuses a read-only file and keeps it; through a link it writes the file the link names.
printf 'old\n' | "$CLI" xls-write "$DIR/a.xls"
chmod 444 "$DIR/a.xls"
cp "$DIR/a.xls" "$DIR/a.before"
printf 'new\n' | "$CLI" xls-write "$DIR/a.xls" --append 2>"$DIR/err" && fail "append to a read-only file"
grep -q "只读" "$DIR/err" || fail "read-only not said: $(cat "$DIR/err")"
cmp -s "$DIR/a.xls" "$DIR/a.before" || fail "read-only file changed"
[ "$(stat -c %a "$DIR/a.xls")" = 444 ] || fail "mode changed to $(stat -c %a "$DIR/a.xls")"
mkdir "$DIR/real" && printf 'old\n' | "$CLI" xls-write "$DIR/real/b.xls" && chmod 640 "$DIR/real/b.xls"
ln -s real/b.xls "$DIR/link.xls"
printf 'new\n' | "$CLI" xls-write "$DIR/link.xls" --append || fail "append through a link"
[ -L "$DIR/link.xls" ] || fail "the link was replaced"
"$CLI" xls-dump "$DIR/real/b.xls" >"$DIR/b.tsv" || fail "xls-dump of the linked file"
grep -qx "$(printf '3\t1\tnew')" "$DIR/b.tsv" || fail "the linked file was not appended to: $(cat "$DIR/b.tsv")"
[ "$(stat -c %a "$DIR/real/b.xls")" = 640 ] || fail "mode of the linked file changed"
echo ok
