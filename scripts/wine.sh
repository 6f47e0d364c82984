# Sourced by the scripts that prove the Windows side under Wine (scripts/test-win32,
# scripts/test-windows-gui), after scripts/common.sh.

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives code page 936 (GBK). The locale
# is checked by switching to it in a child shell, so that a locale that cannot be used stops the
# run with one clear line instead of a setlocale warning and a run under another code page.
# Generates the locale when it is missing; returns 1 when it still cannot be used.
ca_wine_locale() {
  _ca_locale_usable() { [ -z "$(LC_ALL=zh_CN.UTF-8 bash -c ':' 2>&1)" ] && locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }
  _ca_locale_usable && return 0
  echo "generating the zh_CN.UTF-8 locale"
  local sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  mkdir -p "$ROOT/build"
  $sudo_cmd localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 >"$ROOT/build/localedef.log" 2>&1 || true
  _ca_locale_usable || { cat "$ROOT/build/localedef.log" >&2; return 1; }
}

# Both loaders use the 64-bit wineserver; naming it makes every call of a script end the same one.
ca_wine_server() {
  WINESERVER=/usr/lib/wine/wineserver64
  [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
  [ -x "$WINESERVER" ] || return 1
  export WINESERVER
}

# Ends the wineserver of this script's prefix only (WINEPREFIX names it).
ca_wine_stop() {
  timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
}

# ca_wine_prefix DIR: a fresh 64-bit prefix in DIR for the 64-bit loader (WINE), in the zh_CN
# locale, without Mono or Gecko installer prompts. The caller ends its wineserver (ca_wine_stop).
ca_wine_prefix() {
  WINE=/usr/lib/wine/wine64
  [ -x "$WINE" ] || { echo "the 64-bit Wine loader $WINE is missing" >&2; return 1; }
  export WINELOADER="$WINE"
  ca_wine_server || { echo "no wineserver is installed" >&2; return 1; }
  rm -rf "$1"
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
  timeout 300 "$WINE" wineboot -i
}

# ca_win32_cross_build ARCH SQLITE_DIR TARGET...: the Win32 side's debug cross build in
# build/win32-ARCH (64-bit: with the command-line release and SQLite compiled in, and libpq when
# CA_WIN32_LIBPQ names the folder scripts/build-libpq-windows made). GCC 12 reports
# false -Wrestrict warnings on std::string in optimised builds, and warnings are errors here.
ca_win32_cross_build() {
  local arch="$1" sqlite_dir="$2"
  shift 2
  local dir="$ROOT/build/win32-$arch"
  local options=()
  local libpq=""
  [ "$arch" = x86_64 ] && libpq="${CA_WIN32_LIBPQ:-}"
  [ "$arch" = x86_64 ] && options=(-DCA_BUILD_CLI=ON -DCA_SQLITE_AMALGAMATION="$sqlite_dir" -DCA_WINDOWS_LIBPQ="$libpq")
  # Configured again when the options changed (a folder made before the release was part of it, or
  # libpq came into the cache).
  if [ ! -f "$dir/build.ninja" ] || ! grep -qx "CA_SQLITE_AMALGAMATION:PATH=${options:+$sqlite_dir}" "$dir/CMakeCache.txt" ||
    ! grep -qx "CA_WINDOWS_LIBPQ:PATH=$libpq" "$dir/CMakeCache.txt"; then
    mkdir -p "$ROOT/build"
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-$arch.cmake" \
      -DCA_BUILD_QT=OFF -DCA_BUILD_TESTS=OFF -DCA_WERROR=ON "${options[@]}" >"$ROOT/build/win32-$arch.configure.log" 2>&1 ||
      { cat "$ROOT/build/win32-$arch.configure.log"; echo "configuring the $arch cross build failed" >&2; return 1; }
  fi
  cmake --build "$dir" -j "$(nproc)" --target "$@" || { echo "the $arch cross build failed" >&2; return 1; }
}

# ca_linux_cli: builds the Linux build's command-line tool and prints its path: the one of
# scripts/test when it is there (CI runs that first), else a build without the Qt program.
ca_linux_cli() {
  local dir="$ROOT/build/test"
  if [ ! -f "$dir/build.ninja" ]; then
    dir="$ROOT/build/win32-linux-cli"
    if [ ! -f "$dir/build.ninja" ]; then
      cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCA_BUILD_QT=OFF -DCA_BUILD_CLI=ON \
        -DCA_BUILD_TESTS=OFF -DCA_WERROR=ON >"$ROOT/build/win32-linux-cli.configure.log" 2>&1 ||
        { cat "$ROOT/build/win32-linux-cli.configure.log" >&2; return 1; }
    fi
  fi
  cmake --build "$dir" -j "$(nproc)" --target customs-assistant-cli >&2 || return 1
  echo "$dir/tools/customs-assistant-cli"
}

# ca_dump_download_tables DB: every column of the four tables a download writes, rows in a fixed
# order, for comparing two databases with diff.
ca_dump_download_tables() {
  local db="$1" t
  for t in LoadData subData T_fee T_fee1; do
    echo "== $t"
    sqlite3 -readonly -header -csv "$db" "select * from $t" | { IFS= read -r header; echo "$header"; LC_ALL=C sort; }
  done
}
