#!/usr/bin/env bash
# The figures a CI run plans with (scripts/figures.sh): this machine's own figure before the
# committed one, every Windows cache named with a figure and a script; and the window program's
# proof, given too little time for the caches it lacks, skips in one line without building anything.
source "$(dirname "$0")/../../scripts/tests/checks.sh"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
export CA_CACHE_DIR="$DIR/cache"
source "$ROOT/scripts/figures.sh"

committed="$(ca_figure test-win32)" || fail "no committed figure for test-win32"
[[ "$committed" =~ ^[0-9]+$ ]] || fail "the committed figure of test-win32 is not a number of seconds: $committed"
ca_figure_record test-win32 123
expect_eq "$(ca_figure test-win32)" 123 "this machine's figure comes first"
! ca_figure no-such-part >/dev/null || fail "a figure for a part nobody measured"

caches="$(ca_windows_caches)"
grep -qx build-qt-windows <<<"$caches" || fail "Qt for Windows is not among the caches: $caches"
for cache in $caches; do
  [ -x "$ROOT/scripts/$cache" ] || fail "no script scripts/$cache for the cache $cache"
  [[ "$(ca_figure "$cache")" =~ ^[0-9]+$ ]] || fail "no figure for the cache $cache"
  ! "$ROOT/scripts/$cache" --cached >/dev/null 2>&1 || fail "scripts/$cache --cached found a cache in an empty folder"
done

# Ten minutes cannot hold Qt's build: one line, success, nothing built or installed.
out="$("$ROOT/scripts/test-windows-gui" --within 600 2>&1)" || fail "the skipped proof failed: $out"
expect_eq "$(wc -l <<<"$out")" 1 "the skipped proof's output: $out"
[[ "$out" == "test-windows-gui: skipped: "*"build-qt-windows"* ]] || fail "the skip does not name the missing cache: $out"
[ ! -e "$CA_CACHE_DIR/work" ] || fail "the skipped proof started a cache build: $(ls "$CA_CACHE_DIR/work")"
echo ok
