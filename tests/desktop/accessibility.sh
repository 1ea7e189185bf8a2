#!/usr/bin/env bash
# The main window as a screen reader sees it, over AT-SPI on Xvfb with a
# session bus of its own. Exits 77 (skipped) when Xvfb, the bus or pyatspi
# is missing.
#
#   accessibility.sh VELN TEST_SCRIPT
set -uo pipefail
# Under AddressSanitizer: libxkbcommon-x11 hands strndup a buffer that is not
# NUL-terminated, which is allowed but trips strict string checks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
veln=$1
script=$2
work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; [ -s "$work/veln.log" ] && sed 's/^/  /' "$work/veln.log"; exit 1; }

command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed"
py=/usr/bin/python3  # Debian's, which holds pyatspi; not one of a version manager
$py -c "import pyatspi" 2>/dev/null || skip "python3-pyatspi is not installed"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || skip "Xvfb could not start"
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid" 2>"$work/bus.log"
export DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
DBUS_SESSION_BUS_PID=$(head -n 1 "$work/bus.pid")
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || skip "no session bus could be started"
export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME/VELN Net/Version 1" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
printf '%-6s%-15s%-25s%-6s%-15s%-25s' W9ABC "ANN OPERATOR" "PEORIA IL" "**EOF*" "" "" >"$HOME/VELN Net/Version 1/Veln.dat"

wait_window() {
  local end=$((SECONDS + $2)) id
  while [ $SECONDS -lt $end ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
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
