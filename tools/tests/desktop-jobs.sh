#!/usr/bin/env bash
# On Linux the two desktop jobs refuse with a Chinese reason that points to their simulated
# counterparts; --version names the SQLite in use; the sample settings file of the Windows package,
# once in GBK as the package holds it, reads back as written.
source "$(dirname "$0")/../../scripts/tests/checks.sh"
CLI="$1"
SAMPLE="$2"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT

for job in "entry --kind import x.xls:entry-preview" "download:download-sim"; do
  args="${job%%:*}" instead="${job##*:}"
  if "$CLI" $args >"$DIR/out" 2>"$DIR/err"; then fail "accepted on Linux: $args"; fi
  grep -q "只能在 Windows 桌面上使用" "$DIR/err" && grep -q "$instead" "$DIR/err" ||
    fail "$args: the reason does not point to $instead: $(cat "$DIR/err")"
  [ ! -s "$DIR/out" ] || fail "$args wrote to standard output: $(cat "$DIR/out")"
done

VERSION="$("$CLI" --version)"
grep -Eq '^customs-assistant-cli [0-9.]+ \(Linux, SQLite 3\.[0-9]+\.[0-9]+\)$' <<<"$VERSION" || fail "--version said: $VERSION"

sed 's/$/\r/' "$SAMPLE" | iconv -f UTF-8 -t GBK >"$DIR/config.ini"
expect_eq "$("$CLI" config get 主单延迟 --file "$DIR/config.ini")" "300"
expect_eq "$("$CLI" config get QP进程名 --file "$DIR/config.ini")" "Eport.exe"
expect_eq "$("$CLI" config get 已导入文件目录 --file "$DIR/config.ini")" 'C:\报关助手\已导入'
expect_eq "$("$CLI" config get 容器类名 --file "$DIR/config.ini")" ""
echo ok
