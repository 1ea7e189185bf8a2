# Sourced by the desktop tests: an X server with a window manager and, on
# request, a session bus with the accessibility bridge, all of the test's own.
# The sourcing script defines fail() and skip() and an array pids, and has
# made $work.

# Under AddressSanitizer: libxkbcommon-x11 hands strndup a buffer that is not
# NUL-terminated, which is allowed but trips strict string checks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"

start_display() {
  command -v Xvfb >/dev/null || skip "Xvfb is not installed (scripts/bootstrap.sh installs it)"
  local tool
  for tool in openbox xdotool xprop xset import; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/bootstrap.sh installs it)"
  done
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || skip "Xvfb could not start: $(tail -n 3 "$work/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$work/display")"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
}

# A session bus with the accessibility bridge on; py is Debian's python with pyatspi.
py=/usr/bin/python3
start_bus() {
  command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed"
  $py -c "import pyatspi" 2>/dev/null || skip "python3-pyatspi is not installed"
  dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid" 2>"$work/bus.log"
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
  [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || skip "no session bus could be started"
  export DBUS_SESSION_BUS_ADDRESS
  pids+=("$(head -n 1 "$work/bus.pid")")
  export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
}

# Every wait retries until its deadline: a window that closes (the splash)
# makes a single search give up at once.
wait_window() {
  local end=$((SECONDS + $2)) id
  while [ $SECONDS -lt $end ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
activate() { timeout 5 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"; }
caps_lock_off() { if xset q | grep -q "Caps Lock: *on"; then xdotool key Caps_Lock; fi; }
