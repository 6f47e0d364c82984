# Sourced by scripts/test-windows-gui and scripts/bench-windows-gui, after scripts/common.sh and
# scripts/wine.sh, with CA_GUI_NAME (the script's name, for messages) and CA_GUI_OUT (its output
# folder) set. Outside the X display it installs what is missing, builds the release zip
# (scripts/package-windows), the Win32 stand-in client, the driver and the Linux command-line tool,
# then runs the calling script again on a virtual X display (xvfb-run); there it unpacks the zip,
# makes a fresh 64-bit Wine prefix with Wine's own desktop of 1280x1024 and the machine's CJK font
# standing in for Windows' Chinese fonts, writes config.ini for the stand-in, and offers the clerk's
# actions as functions: clicks on the controls the program's map names (the control map, a Qt plugin
# only these runs load, see win32test/uimap/UiMap.h), menus, file dialogs, message boxes, waits on
# windows and log lines, screenshots. The program is the zip's own customs-assistant.exe; the map
# plugin and the stand-in's menu bar for Wine (CA_WINE_CLIENT_MENU) come from beside the builds.

OUT="$CA_GUI_OUT"
# How often waits look at the map and the screen (CA_GUI_POLL seconds; the benchmark looks often).
POLL="${CA_GUI_POLL:-0.2}"
fail() {
  echo "$CA_GUI_NAME: $*" >&2
  [ -f "$OUT/ui-map.txt" ] && { echo "--- the program's controls at that moment:" >&2; grep -v '^line' "$OUT/ui-map.txt" | sed -n 1,60p >&2; }
  [ -f "$OUT/driver-trace.txt" ] && { echo "--- the driver's last runs:" >&2; tail -8 "$OUT/driver-trace.txt" >&2; }
  exit 1
}
step() { echo "[$(date +%H:%M:%S)] $*"; }
START=$SECONDS
# When the whole run began, builds included (the run goes on in a second process on the display).
: "${CA_GUI_STARTED:=$(date +%s)}"
export CA_GUI_STARTED

# --- Outside the X display: packages, builds, the package -----------------------------------------
if [ -z "${CA_GUI_DISPLAY_READY:-}" ]; then
  ca_install_packages "${CA_WIN32_PACKAGES[@]}" g++-mingw-w64-x86-64-posix xvfb xauth imagemagick fonts-wqy-microhei \
    qt6-translations-l10n
  ca_wine_locale || fail "the zh_CN.UTF-8 locale cannot be used"

  step "building the release zip (scripts/package-windows)"
  "$ROOT/scripts/package-windows" >"$ROOT/build/gui-package.log" 2>&1 ||
    { tail -30 "$ROOT/build/gui-package.log"; fail "the release zip could not be built (step: package-windows)"; }
  tail -1 "$ROOT/build/gui-package.log"

  step "building the control map plugin (beside the release build, not in the zip)"
  cmake --build "$ROOT/build/win-gui-release" -j "$(nproc)" --target ca_ui_map_plugin >"$ROOT/build/gui-map-plugin.log" 2>&1 ||
    { tail -30 "$ROOT/build/gui-map-plugin.log"; fail "the control map plugin did not build"; }

  step "building the Win32 stand-in client, its menu bar for Wine and the driver"
  SQLITE_DIR="$("$ROOT/scripts/fetch-sqlite")" || fail "the SQLite amalgamation could not be fetched"
  ca_win32_cross_build x86_64 "$SQLITE_DIR" ca_win32_standin ca_wine_client_menu ca_gui_driver || fail "the Win32 cross build failed"

  step "building the Linux command-line tool (entry-preview, download-sim, business-data)"
  ca_linux_cli >/dev/null || fail "the Linux command-line tool did not build"

  rm -rf "$OUT"
  mkdir -p "$OUT"
  # The virtual display: a screen of the size of Wine's desktop. xvfb-run ends it with this script.
  CA_GUI_DISPLAY_READY=1 exec timeout 1500 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi

# --- On the X display -----------------------------------------------------------------------------
X64="$ROOT/build/win32-x86_64/win32test"
STANDIN="$X64/Eport.exe"
DRIVER="$X64/ca_gui_driver.exe"
MENU_DLL="$X64/ca_wine_client_menu.dll"
MAP_PLUGINS="$ROOT/build/win-gui-release/proof-plugins"
[ -f "$MAP_PLUGINS/generic/ca_ui_map.dll" ] || fail "the control map plugin $MAP_PLUGINS/generic/ca_ui_map.dll is missing"
[ -f "$MENU_DLL" ] || fail "the stand-in's menu bar for Wine $MENU_DLL is missing"
LINUX_CLI="$(ca_linux_cli)"
APP="$OUT/app/customs-assistant-windows-x64"
MAP="$OUT/ui-map.txt"
WORK="$OUT/desk"
UNIMPORTED="$WORK/unimported"
IMPORTED="$WORK/imported"

step "unpacking the release zip"
mkdir -p "$OUT/app" "$UNIMPORTED" "$IMPORTED"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
  "$ROOT/build/dist/customs-assistant-windows-x64.zip" "$OUT/app" || fail "the zip does not unpack"
[ -f "$APP/customs-assistant.exe" ] || fail "the zip holds no customs-assistant.exe"
# The control map plugin goes beside the unpacked program (Qt looks for plugins in the program's
# folder); the zip does not hold it.
mkdir -p "$APP/generic" && cp "$MAP_PLUGINS/generic/ca_ui_map.dll" "$APP/generic/" || fail "the control map plugin could not be put beside the program"

ca_wine_prefix "$OUT/prefix" >"$OUT/prefix-setup.log" 2>&1 || { cat "$OUT/prefix-setup.log"; fail "Wine could not prepare the prefix"; }
trap ca_wine_stop EXIT
# Wine's own desktop (one X window holding every Windows window, Wine decides focus and order as
# Windows does), and the CJK font of the machine wherever Windows would use its own interface fonts
# (a Chinese Windows draws them with Microsoft YaHei; Wine's Tahoma beside a Chinese fallback
# font cuts the tops of the characters).
{
  timeout 120 "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
    timeout 120 "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f &&
    for face in "Microsoft YaHei" "Microsoft YaHei UI" SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Segoe UI"; do
      timeout 120 "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "$face" /d "WenQuanYi Micro Hei" /f || exit 1
    done
} >>"$OUT/prefix-setup.log" 2>&1 || { cat "$OUT/prefix-setup.log"; fail "the Wine desktop could not be set up"; }

# ---- The driver and the map ----------------------------------------------------------------------
# Every driver run is traced (time, arguments, status) for the failure report.
drv() {
  local status=0
  timeout 120 "$WINE" "$DRIVER" "$@" >"$OUT/driver.out" 2>&1 || status=$?
  echo "$(date +%H:%M:%S.%N | cut -c1-12) $* → $status $(head -c 200 "$OUT/driver.out" | tr '\n' ' ')" >>"$OUT/driver-trace.txt"
  return $status
}
map_has() { [ -f "$MAP" ] && grep -qP "$1" "$MAP"; }
map_lacks() { ! map_has "$1"; }
# within SECONDS COMMAND...: runs the command every POLL seconds until it succeeds; status 1 when
# the time ran out first.
within() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep "$POLL"
  done
}
# wait_map REGEX SECONDS WHAT: waits until a line of the map matches.
wait_map() { within "$2" map_has "$1" || fail "waited $2 s for $3"; }
# The centre of a map line's rectangle (its last four fields).
centre() { awk -F'\t' 'NR == 1 { print int($(NF-3) + $(NF-1) / 2), int($(NF-2) + $NF / 2) }'; }
click_line() {
  local line window title
  line="$(grep -m1 -P "$1" "$MAP" || true)"
  [ -n "$line" ] || fail "nothing to click for $2"
  # The window the control is on comes to the front first (the stand-in's window may cover it);
  # menus that are open are on top already and have no title.
  window="$(echo "$line" | cut -f2)"
  title="$({ grep -m1 -P "^window\t$window\t" "$MAP" || true; } | cut -f4)"
  [ -z "$title" ] || drv raise "$title" 30 || fail "the window of $2 could not be brought to the front"
  # shellcheck disable=SC2046
  drv click $(echo "$line" | centre) || fail "the click on $2 did not happen"
}
# A menu bar item of the main window, then an item of the menu it opens.
menu() {
  local top="$1" item="$2" caption="$3"
  wait_map "^action\tfrmMain\t$top\t[^\t]*\t1\t" 60 "the menu $top to be enabled"
  click_until "^action\tfrmMain\t$top\t" "the menu $top" shown "^action\t$top\t$item\t"
  click_until "^action\t$top\t$item\t" "the menu item $caption" gone "^window\t$top\t"
}
# click_until CONTROL WHAT shown|gone EFFECT: clicks the control until the map shows the effect
# (a line that appears or one that goes). A click that lands while Wine still places a new window
# is lost, as it would be for a hand; the click is repeated then, at most three times.
click_until() {
  local control="$1" what="$2" kind="$3" effect="$4" attempt check=map_has
  [ "$kind" = shown ] || check=map_lacks
  for attempt in 1 2 3; do
    sleep 0.3
    if [ "$attempt" != 1 ]; then
      "$check" "$effect" && return 0
      map_has "$control" || fail "$what went away without its effect"
    fi
    click_line "$control" "$what"
    # A program on its way out may take some seconds to empty its map.
    within 10 "$check" "$effect" && return 0
  done
  fail "$what did not take the click"
}
log_lines() { grep -P '^line\tfrmMain\tMemo1\t' "$MAP" | cut -f4-; }
has_log_line() { grep -qxF -- "$1" <<<"$(log_lines)"; }
wait_log() { within "$2" has_log_line "$1" || { log_lines; fail "waited $2 s for the log line “$1”"; }; }
# Waits until the main window is idle again (its menus enabled).
wait_idle() { wait_map '^action\tfrmMain\tNDown\t[^\t]*\t1\t' "$1" "the main window to be idle again"; }
# A system file dialog: the full path typed into its name field, then Enter.
answer_file_dialog() {
  drv dialog 60 || fail "no file dialog came up for $2"
  drv key ctrl+a && drv type "$1" && drv key enter || fail "typing into the file dialog failed"
  drv nodialog 60 || fail "the file dialog stayed open for $2"
}
# Clicks the button with the given text in a message box (Qt's), after waiting for it.
answer_message_box() {
  local button="^widget\t[^\t]*\t[^\t]*\tQPushButton\t($1)\t1\t"
  wait_map "$button" 60 "a message box with the button $1"
  click_until "$button" "the message box button $1" gone '^widget\t[^\t]*\tqt_msgbox_label\t'
}
message_box_text() { grep -P '^widget\t[^\t]*\tqt_msgbox_label\t' "$MAP" | cut -f5; }
# The screen's picture of a window with its frame (brought to the front first; the frame as
# Windows gives it, cut to the screen).
screenshot() {
  local name="$1" window="$2" title x y w h
  title="$({ grep -m1 -P "^window\t$window\t" "$MAP" || true; } | cut -f4)"
  [ -n "$title" ] || fail "no window $window to photograph"
  drv raise "$title" 30 || fail "the window $window could not be brought to the front"
  read -r x y w h < <(tr -d '\r' <"$OUT/driver.out")
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ] ||
    echo "note: the window $window ($x $y $w $h) does not fit the 1280x1024 screen" >&2
  sleep 1  # the last paint
  import -window root -crop "${w}x${h}+$((x < 0 ? 0 : x))+$((y < 0 ? 0 : y))" +repage "$OUT/$name.png" ||
    fail "the screenshot $name could not be taken"
}
winpath() { echo "Z:$1" | tr / '\\'; }

# ---- Settings: the stand-in's class names, the folders, the default delays ------------------------
CONFIG="$APP/config.ini"
set_config() { "$LINUX_CLI" config set "$1" "$2" --file "$CONFIG" >/dev/null || fail "config set $1 failed"; }
set_config 容器类名 WindowsForms10.Window.8.app.0.sim
set_config 编辑框类名 WindowsForms10.EDIT.app.0.sim
set_config 表格类名 WindowsForms10.SysListView32.app.0.sim
set_config 按钮类名 WindowsForms10.BUTTON.app.0.sim
set_config 文本类名 WindowsForms10.STATIC.app.0.sim
set_config 下拉框类名 WindowsForms10.COMBOBOX.app.0.sim
set_config 申报单位 上海某某报关行
set_config 报关单类型 0
set_config 商品征免 照章征税
set_config 未导入文件目录 "$(winpath "$UNIMPORTED")"
set_config 已导入文件目录 "$(winpath "$IMPORTED")"
set_config 导入后延时 0

# ---- Start ---------------------------------------------------------------------------------------
start_program() {
  rm -f "$MAP"
  local started
  started=$(date +%s%N)
  # The zip's program with the control map plugin (Qt's -plugin; Wine passes no QT_ variables on)
  # and the stand-in's menu bar for Wine.
  (cd "$APP" && exec env CA_UI_MAP="$(winpath "$MAP")" CA_WINE_CLIENT_MENU="$(winpath "$MENU_DLL")" \
    timeout 1200 "$WINE" customs-assistant.exe -plugin uimap) >"$OUT/program-$1.log" 2>&1 &
  PROGRAM_PID=$!
  wait_map '^window\tfrmMain\t' 120 "the main window to show (start $1)"
  STARTUP_S="$(awk -v a="$started" -v b="$(date +%s%N)" 'BEGIN { printf "%.2f", (b - a) / 1e9 }')"
  wait_map '^action\tfrmMain\tNDown\t' 30 "the main window's menu bar"
  step "the window program is up ($1): $STARTUP_S s after it was started"
}
stop_program() {
  # The clerk's way out: 退出系统, then 是 in the question.
  click_until '^action\tfrmMain\tNexit\t' "退出系统" shown '^widget\t[^\t]*\tqt_msgbox_label\t'
  answer_message_box '是\(&Y\)|是\(Y\)|是|&Yes|Yes'
  local end=$((SECONDS + 60))
  while kill -0 "$PROGRAM_PID" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "the window program did not end after 退出系统"
    sleep 0.3
  done
}
start_standin() {
  local fixture="$1" name="$2"
  rm -f "$OUT/$name.log"
  timeout 1200 "$WINE" "$STANDIN" "$(winpath "$fixture")" "$(winpath "$OUT/$name.log")" >"$OUT/$name.out" 2>&1 &
  STANDIN_PID=$!
  local end=$((SECONDS + 90))
  until [ -f "$OUT/$name.log" ] && grep -q '^ready' "$OUT/$name.log"; do
    [ $SECONDS -lt $end ] || fail "the stand-in client ($name) did not come up"
    sleep "$POLL"
  done
  # Out of the way of the program's windows: the right half of the desktop.
  drv move "海关录入程序（模拟）" 560 20 >/dev/null || true
}
# Ends the stand-in this script started (the timeout around it passes the signal on).
stop_standin() {
  kill "$STANDIN_PID" 2>/dev/null || true
  wait "$STANDIN_PID" 2>/dev/null || true
}

