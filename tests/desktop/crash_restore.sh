#!/usr/bin/env bash
# A net killed at random moments of a scripted evening, and brought back.
# Each round starts the program (answering "RESTORE NET" with its default),
# checks that the net shown equals the net the window showed before the last
# kill, runs random operations by keyboard as an operator would (check-ins,
# unknown calls, check-outs, traffic, new members, edits, saves) for a random
# while, reads what the window shows over the accessibility bus, and kills the
# program with SIGKILL.
#
#   crash_restore.sh VELN OUTPUT_DIR [ROUNDS]
#
# ROUNDS (or VELN_CRASH_ROUNDS) defaults to 5. Exits 77 (skipped) when no X
# server, session bus or pyatspi is at hand.
set -uo pipefail

veln=$1
out=$2
rounds=${3:-${VELN_CRASH_ROUNDS:-5}}
here=$(cd "$(dirname "$0")" && pwd)
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
skip() { echo "SKIP: $*"; exit 77; }
fail() {
  echo "FAIL: $*"
  if [ -n "${DISPLAY:-}" ]; then import -window root "$out/crash_restore_failure.png" 2>/dev/null; fi
  [ -s "$work/veln.log" ] && sed 's/^/  /' "$work/veln.log" | tail -n 20
  exit 1
}
. "$here/desktop_session.sh"
start_display
start_bus

# --- the operator's home: members, identity and no callbook offer
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$work/run"
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

start_program() {
  "$veln" >>"$work/veln.log" 2>&1 &
  veln_pid=$!
  pids+=("$veln_pid")
  local w
  w=$(wait_window "^USER INFORMATION$" 30) || fail "the identity question did not come"
  activate "$w"
  xdotool key space Return  # YES, today's net control
}
letter() { printf "\\x$(printf %x $((65 + RANDOM % 26)))"; }
keys() { xdotool key --delay 30 "$@"; }

# One operation, chosen at random, as the operator does it by keyboard.
operate() {
  local r=$((RANDOM % 100)) i
  if [ $r -lt 30 ]; then
    xdotool type --delay 10 "${members[RANDOM % ${#members[@]}]}"
    keys Return
  elif [ $r -lt 38 ]; then
    xdotool type --delay 10 "N0$(letter)Z"
    keys Return
  elif [ $r -lt 55 ]; then
    if [ $((RANDOM % 4)) -eq 0 ]; then keys ctrl+shift+t; else keys ctrl+t; fi
  elif [ $r -lt 68 ]; then
    keys F2 Home
    for i in $(seq $((RANDOM % 4))); do keys Down; done
    keys ctrl+k Escape
  elif [ $r -lt 76 ]; then
    keys ctrl+a
    sleep 0.2
    xdotool type --delay 10 "K0$(letter)$(letter)"
    keys Tab
    xdotool type --delay 10 "NEW"
    keys alt+s Escape
  elif [ $r -lt 86 ]; then
    keys F2 Home ctrl+e
    sleep 0.2
    keys alt+s Escape
  else
    keys ctrl+s
    local w
    if w=$(wait_window "^Save As$" 2); then
      activate "$w"
      caps_lock_off
      keys ctrl+a
      xdotool type --delay 5 "$session_file"
      keys Return
    fi
  fi
  sleep 0.$((1 + RANDOM % 3))
}

shown() { $py "$here/shown_net.py" VELN >"$1" || fail "$(cat "$1")"; }

for round in $(seq 1 "$rounds"); do
  start_program
  if [ "$round" -gt 1 ]; then
    w=$(wait_window "^RESTORE NET$" 30) || fail "round $round: no RESTORE NET question after the kill"
    activate "$w"
    keys Return  # the default: bring the net back
  fi
  main=$(wait_window "^VELNOR Association" 30) || fail "round $round: the main window did not open"
  sleep 1
  if [ "$round" -gt 1 ]; then
    shown "$work/after.txt"
    if ! diff "$work/before.txt" "$work/after.txt" >"$work/diff.txt"; then
      cat "$work/diff.txt"
      fail "round $round: the restored net differs from the net shown before the kill"
    fi
  fi
  caps_lock_off
  activate "$main"
  # The evening goes on for a random while; then the last operation
  # completes, the test reads the window and kills the program.
  (
    while true; do operate; done
  ) >/dev/null 2>&1 &
  ops=$!
  sleep "$((1 + RANDOM % 5)).$((RANDOM % 10))"
  kill "$ops" 2>/dev/null
  wait "$ops" 2>/dev/null
  sleep 0.8
  shown "$work/before.txt"
  kill -9 "$veln_pid"
  wait "$veln_pid" 2>/dev/null
  echo "round $round: killed with $(grep -c '^line' "$work/before.txt") stations listed"
done
# The last kill is checked too.
start_program
w=$(wait_window "^RESTORE NET$" 30) || fail "no RESTORE NET question after the last kill"
activate "$w"
keys Return
wait_window "^VELNOR Association" 30 >/dev/null || fail "the main window did not open after the last kill"
sleep 1
shown "$work/after.txt"
diff "$work/before.txt" "$work/after.txt" || fail "the last restore differs"
import -window root "$out/crash_restore.png" 2>/dev/null
kill -9 "$veln_pid" 2>/dev/null
echo "crash and restore: $rounds kills, each net brought back exactly as shown"
