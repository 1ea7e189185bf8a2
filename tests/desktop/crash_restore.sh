#!/usr/bin/env bash
# A net killed at random moments of a scripted evening, and brought back.
# Each round starts the program (answering "RESTORE NET" with its default),
# checks that the net shown equals what the window showed just before the
# last kill, runs a few random operations as an operator would (check-ins,
# unknown calls, check-outs, traffic, new members, edits, saves) and kills
# the program with SIGKILL at a random moment.
#
#   crash_restore.sh VELN OUTPUT_DIR [ROUNDS]
#
# ROUNDS (or VELN_CRASH_ROUNDS) defaults to 5. The window writes what it
# shows to the file VELN_SHOWN_FILE names after every change it draws.
# Exits 77 (skipped) only when no X server can be started.
set -uo pipefail
# Under AddressSanitizer: libxkbcommon-x11 hands strndup a buffer that is not
# NUL-terminated, which is allowed but trips strict string checks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"

veln=$1
out=$2
rounds=${3:-${VELN_CRASH_ROUNDS:-5}}
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  if [ -n "${DISPLAY:-}" ]; then import -window root "$out/crash_restore_failure.png" 2>/dev/null; fi
  [ -s "$work/veln.log" ] && sed 's/^/  /' "$work/veln.log" | tail -n 20
  exit 1
}

if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb is not installed (scripts/bootstrap.sh installs it)"
  exit 77
fi
for tool in openbox xdotool xprop xset import; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/bootstrap.sh installs it)"
done

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "SKIP: Xvfb could not start: $(tail -n 3 "$work/xvfb.log")"
  exit 77
fi
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done

# Every wait retries until its deadline: a window that closes (the splash)
# makes a single search give up at once.
wait_window() {
  local deadline=$((SECONDS + $2)) w
  while [ $SECONDS -lt $deadline ]; do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$w" ] && { echo "$w"; return; }
    sleep 0.1
  done
}
activate() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"; }
caps_lock_off() { if xset q | grep -q "Caps Lock: *on"; then xdotool key Caps_Lock; fi; }

# --- the operator's home: members, identity and no callbook offer
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_RUNTIME_DIR="$work/run"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
export VELN_SHOWN_FILE="$work/shown.txt"
mkdir -p "$HOME/VELN Net/Version 1" "$HOME/VELN Net/Sessions" "$XDG_CONFIG_HOME/VELN" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
record() { printf '%-6s%-15s%-25s' "$1" "$2" "$3"; }
members=(W9ABC K1ABC K2BCD W3CDE N4DEF KB5EFG W6FGH K7GHI N8HIJ W0IJK)
{
  for m in "${members[@]}"; do record "$m" "NAME $m" "TOWN"; done
  record "**EOF*" "" ""
} >"$HOME/VELN Net/Version 1/Veln.dat"
cat >"$XDG_CONFIG_HOME/VELN/VELN.ini" <<'EOF'
[Settings]
User%20Name=ANN OPERATOR
User%20Call=W9ABC
chkNoShow=1
NetMgr=BOB SMITH
NetMgrCall=K1ABC
EOF
chmod 600 "$XDG_CONFIG_HOME/VELN/VELN.ini"
session_file="$HOME/VELN Net/Sessions/crash net.txt"

place() { sed -n "s/^place $1 //p" "$VELN_SHOWN_FILE" 2>/dev/null; }
# What the window shows, without where things are.
shown() { grep -v '^place ' "$1"; }
events_of() { sed -n 's/^events //p' "$1"; }

start_program() {
  rm -f "$VELN_SHOWN_FILE"
  "$veln" >>"$work/veln.log" 2>&1 &
  veln_pid=$!
  pids+=("$veln_pid")
  local w
  w=$(wait_window "^USER INFORMATION$" 30)
  [ -n "$w" ] || fail "the identity question did not come"
  activate "$w"
  xdotool key space Return  # YES, today's net control
}

# One operation, chosen at random, as the operator does it.
operate() {
  local r=$((RANDOM % 100)) x y row h
  if [ $r -lt 30 ]; then
    xdotool type --delay 10 "${members[RANDOM % ${#members[@]}]}"
    xdotool key Return
  elif [ $r -lt 38 ]; then
    xdotool type --delay 10 "N0$(printf "\\x$(printf %x $((65 + RANDOM % 26)))")Z"
    xdotool key Return
  elif [ $r -lt 55 ]; then
    read -r x y < <(place traffic)
    xdotool mousemove "$x" "$y" click $((RANDOM % 4 == 0 ? 3 : 1))
  elif [ $r -lt 68 ]; then
    read -r x y h < <(place roster)
    row=$((RANDOM % 4))
    xdotool mousemove $((x + 10)) $((y + h * row + h / 2)) click 1
    xdotool key alt+e o
  elif [ $r -lt 76 ]; then
    xdotool key ctrl+a
    sleep 0.2
    xdotool type --delay 10 "K0$(printf "\\x$(printf %x $((65 + RANDOM % 26)))")$(printf "\\x$(printf %x $((65 + RANDOM % 26)))")"
    xdotool key Tab
    xdotool type --delay 10 "NEW"
    xdotool key alt+s
  elif [ $r -lt 86 ]; then
    read -r x y h < <(place roster)
    xdotool mousemove $((x + 10)) $((y + h / 2)) click 1
    xdotool key ctrl+e
    sleep 0.2
    xdotool key alt+s
  else
    xdotool key ctrl+s
    local w
    w=$(wait_window "^Save As$" 2)
    if [ -n "$w" ]; then
      activate "$w"
      caps_lock_off
      xdotool key ctrl+a
      xdotool type --delay 5 "$session_file"
      xdotool key Return
    fi
  fi
  sleep 0.$((2 + RANDOM % 4))
}

matched=0
inside=0
for round in $(seq 1 "$rounds"); do
  start_program
  if [ "$round" -gt 1 ]; then
    w=$(wait_window "^RESTORE NET$" 30)
    [ -n "$w" ] || fail "round $round: no RESTORE NET question after the kill"
    activate "$w"
    xdotool key Return  # the default: bring the net back
  fi
  main=$(wait_window "^VELNOR Association" 30)
  [ -n "$main" ] || fail "round $round: the main window did not open"
  for _ in $(seq 100); do
    [ -s "$VELN_SHOWN_FILE" ] && break
    sleep 0.1
  done
  [ -s "$VELN_SHOWN_FILE" ] || fail "round $round: the window wrote nothing of what it shows"
  if [ "$round" -gt 1 ]; then
    now=$(events_of "$VELN_SHOWN_FILE")
    was=$(events_of "$work/before.txt")
    if [ "$now" = "$was" ]; then
      if ! diff <(shown "$work/before.txt") <(shown "$VELN_SHOWN_FILE") >"$work/diff.txt"; then
        cat "$work/diff.txt"
        fail "round $round: the restored net differs from the net shown before the kill"
      fi
      matched=$((matched + 1))
    elif [ "$now" -gt "$was" ] && [ $((now - was)) -le 2 ]; then
      # Killed between the journal's sync and the window's drawing of one
      # operation: the operation was kept, the screen had not shown it yet.
      inside=$((inside + 1))
    else
      fail "round $round: $was events were shown before the kill, $now came back"
    fi
  fi
  sleep 0.5
  caps_lock_off
  activate "$main"
  # The evening goes on in the background until the kill.
  (
    while true; do operate; done
  ) >/dev/null 2>&1 &
  ops=$!
  sleep "$((1 + RANDOM % 5)).$((RANDOM % 10))"
  kill -9 "$veln_pid"
  kill "$ops" 2>/dev/null
  wait "$veln_pid" "$ops" 2>/dev/null
  cp "$VELN_SHOWN_FILE" "$work/before.txt"
  echo "round $round: killed after $(events_of "$work/before.txt") events shown"
done
# The last kill is checked too.
start_program
w=$(wait_window "^RESTORE NET$" 30)
[ -n "$w" ] || fail "no RESTORE NET question after the last kill"
activate "$w"
xdotool key Return
for _ in $(seq 100); do
  [ -s "$VELN_SHOWN_FILE" ] && break
  sleep 0.1
done
now=$(events_of "$VELN_SHOWN_FILE")
was=$(events_of "$work/before.txt")
if [ "$now" = "$was" ]; then
  diff <(shown "$work/before.txt") <(shown "$VELN_SHOWN_FILE") || fail "the last restore differs"
  matched=$((matched + 1))
elif [ "$now" -gt "$was" ] && [ $((now - was)) -le 2 ]; then
  inside=$((inside + 1))
else
  fail "$was events were shown before the last kill, $now came back"
fi
import -window root "$out/crash_restore.png" 2>/dev/null
kill -9 "$veln_pid" 2>/dev/null
echo "crash and restore: $rounds kills, $matched restored exactly as shown, $inside killed inside an operation (kept by the journal, not yet drawn)"
