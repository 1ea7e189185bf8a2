#!/usr/bin/env bash
# The main window as a screen reader sees it, over AT-SPI on Xvfb with a
# session bus of its own. Exits 77 (skipped) when Xvfb, the bus or pyatspi
# is missing.
#
#   accessibility.sh VELN TEST_SCRIPT
set -uo pipefail
veln=$1
script=$2
work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; [ -s "$work/veln.log" ] && sed 's/^/  /' "$work/veln.log"; exit 1; }

here=$(cd "$(dirname "$0")" && pwd)
. "$here/desktop_session.sh"
start_display
start_bus

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME/VELN Net/Version 1" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
printf '%-6s%-15s%-25s%-6s%-15s%-25s' W9ABC "ANN OPERATOR" "PEORIA IL" "**EOF*" "" "" >"$HOME/VELN Net/Version 1/Veln.dat"

"$veln" >"$work/veln.log" 2>&1 &
pids+=($!)
w=$(wait_window "^USER INFORMATION$" 60) || fail "the identity question did not come"
sleep 1
timeout 5 xdotool windowactivate --sync "$w" >/dev/null 2>&1
xset q | grep -q "Caps Lock: *on" && xdotool key Caps_Lock
xdotool type --delay 20 "Ann Operator"; xdotool key Tab; xdotool type --delay 20 "w9abc"; xdotool key Tab space Return
if w=$(wait_window "^QRZ LOGIN$" 15); then timeout 5 xdotool windowactivate --sync "$w" >/dev/null 2>&1; xdotool key Escape; fi
main=$(wait_window "^VELNOR Association" 30) || fail "the main window did not open"
timeout 5 xdotool windowactivate --sync "$main" >/dev/null 2>&1
sleep 1
$py "$script" VELN
