#!/usr/bin/env bash
# The real program on a virtual display, driven with the pointer as a user
# drives it: the "7-12" switch, button 9, the office category, "Copy", Save
# and Apply. The emulated mouse's transfer trace must then hold the entry of
# button 9 (block bytes 32..34) as 03 01 06 in the write of the active mode.
#
#   assign_button_under_xvfb.sh <korvane-driver> <start-folder>
#
# Run inside an X server (CTest starts it with xvfb-run); every wait is bounded.
set -euo pipefail

program=$1
shipped=$2
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A fresh start folder with the program beside it, its own settings homes.
start=$work/start
mkdir -p "$start" "$work/config" "$work/data"
for item in skins configure data Language VQX_A.sui VQX_B.sui wait.gif; do
  [ -e "$shipped/$item" ] && cp -r "$shipped/$item" "$start/"
done
# Only the shipped factory files: the program makes the live ones.
find "$start/configure" "$start/data" -name '*.ini' ! -name 'Default_*' -delete
cp "$program" "$start/korvane-driver"
trace=$work/trace.txt
: > "$trace"

# Polls a condition every 0.2 s for at most $1 seconds.
within() {
  local seconds=$1; shift
  local tries=$((seconds * 5))
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.2
  done
}

cd "$start"
XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data KORVANE_DEVICE=emulated \
  KORVANE_EMULATOR_TRACE=$trace ./korvane-driver &
pid=$!

window=
find_window() { window=$(xdotool search --name '^KorvaneDriver v1\.0$' 2>/dev/null | head -n1); [ -n "$window" ]; }
within 30 find_window || fail "the main window did not appear"
# The monitor finds the mouse and reads its firmware version: then the
# buttons take clicks.
within 30 grep -q '^get-feature ' "$trace" || fail "the mouse was never found"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.5

# Points of the window: the button page starts at 418, 149.
click() { xdotool mousemove --window "$window" "$1" "$2" && sleep 0.3 && xdotool click 1 && sleep 0.5; }
hover() { xdotool mousemove --window "$window" "$1" "$2" && sleep 0.5; }

click 656 177   # the "7-12" switch above the rows
click 617 265   # the third row now holds button 9: the menu opens at 540, 254
hover 638 318   # "办公命令", the office row: its panel opens at 705, 306
hover 700 318   # along the row towards its panel
click 788 321   # "Copy", the first entry of the office panel
click 458 559   # 保 存
within 20 grep -q '^Key9=Copy' "$start/configure/Mode1.ini" ||
  fail "Save did not store Copy for button 9 in Mode1.ini"
click 526 559   # 确 定
within 60 grep -q '^set-feature 00 39 ' "$trace" || fail "Apply did not reach the last macro block"

# The data report after the command of mode 1 (the active mode, written last).
report=$(awk '/^set-feature 00 01 /{ next_is_mode = 1; next } next_is_mode && /^write /{ line = $0; next_is_mode = 0 } END { print line }' "$trace")
[ -n "$report" ] || fail "no data report followed the command of mode 1"
read -r -a bytes <<< "${report#write }"
# bytes[0] is the report id; block byte n is bytes[n + 1].
got="${bytes[33]} ${bytes[34]} ${bytes[35]}"
[ "$got" = "03 01 06" ] || fail "button 9 holds $got, not 03 01 06"
echo "button 9 of mode 1 reached the mouse as $got"
