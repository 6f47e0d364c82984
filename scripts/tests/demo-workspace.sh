#!/usr/bin/env bash
# Black-box check of scripts/demo-workspace: a first run fills 未导入 with the samples, a run after
# they were entered leaves it empty and says how to start over, --reset puts them back and removes
# the demo database, and keeps every setting already in config.ini.
source "$(dirname "$0")/../../scripts/tests/checks.sh"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
export CA_DEMO_DIR="$DIR/demo"
BIN="$DIR/bin"
samples() { (cd "$ROOT/demo/samples" && ls *.xls); }

"$ROOT/scripts/demo-workspace" "$BIN" >/dev/null 2>"$DIR/err"
expect_eq "$(cd "$CA_DEMO_DIR/未导入" && ls)" "$(samples)" "samples not in 未导入"
[ ! -s "$DIR/err" ] || fail "hint shown with samples waiting: $(cat "$DIR/err")"

# The clerk enters both samples; the program has made its database in 已导入.
mv "$CA_DEMO_DIR/未导入"/*.xls "$CA_DEMO_DIR/已导入/"
touch "$CA_DEMO_DIR/已导入/DB.sqlite" "$CA_DEMO_DIR/已导入/DB.sqlite-wal" "$CA_DEMO_DIR/已导入/other.xls"
printf '[程序默认数据]\r\n申报单位=某某报关行\r\n' | iconv -f UTF-8 -t GBK > "$BIN/config.ini"
"$ROOT/scripts/demo-workspace" "$BIN" >/dev/null 2>"$DIR/err"
[ -z "$(ls -A "$CA_DEMO_DIR/未导入")" ] || fail "samples copied again although entered"
grep -q -- "scripts/run --reset-demo" "$DIR/err" || fail "no hint when 未导入 is empty"

"$ROOT/scripts/demo-workspace" --reset "$BIN" >"$DIR/out" 2>"$DIR/err"
expect_eq "$(cd "$CA_DEMO_DIR/未导入" && ls)" "$(samples)" "samples not put back"
[ "$(cd "$CA_DEMO_DIR/已导入" && ls)" = "other.xls" ] || fail "已导入 holds $(ls "$CA_DEMO_DIR/已导入")"
grep -q "演示已重置" "$DIR/out" || fail "reset not reported"
[ ! -s "$DIR/err" ] || fail "hint shown after reset"
grep -q "^申报单位=某某报关行" <<<"$(iconv -f GBK -t UTF-8 "$BIN/config.ini")" || fail "a setting was replaced: $(iconv -f GBK -t UTF-8 "$BIN/config.ini")"
echo ok
