#!/usr/bin/env bash
# A whole evening on a real X server with the keyboard alone, as an operator
# who uses no pointer runs it: check-ins, a suggestion picked, an unknown call
# added, an edit, a delete, traffic up and down, a check-out, Save and "73"
# (File, Exit). Then the files are checked. No pointer event is sent.
#
#   keyboard_net.sh VELN OUTPUT_DIR
#
# Exits 77 (skipped) only when no X server can be started.
set -uo pipefail

veln=$1
out=$2
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
step() { echo "--- $*"; }
fail() {
  echo "FAIL: $*"
  if [ -n "${veln_pid:-}" ] && ! kill -0 "$veln_pid" 2>/dev/null; then
    wait "$veln_pid"
    echo "the program is gone, exit status $?"
  fi
  [ -s "$work/veln.log" ] && tail -n 15 "$work/veln.log" | sed 's/^/  /'
  [ -n "${DISPLAY:-}" ] && import -window root "$out/keyboard_net_failure.png" 2>/dev/null &&
    echo "the screen is kept in $out/keyboard_net_failure.png"
  [ -s "$work/veln.log" ] && sed 's/^/  /' "$work/veln.log"
  exit 1
}

command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "SKIP: Xvfb could not start"; exit 77; }
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)

# Every wait retries its search until its deadline: a window that closes
# while it is looked at (the splash) ends one search, not the wait.
wait_window() {
  local end=$((SECONDS + $2)) id
  while [ $SECONDS -lt $end ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
wait_gone() {
  local end=$((SECONDS + $2))
  while [ $SECONDS -lt $end ]; do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}
activate() { timeout 5 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || timeout 5 xdotool windowfocus --sync "$1"; }
caps_off() { if xset q | grep -q "Caps Lock: *on"; then xdotool key Caps_Lock; fi; }
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
type_text() { xdotool type --delay 40 -- "$1"; sleep 0.2; }
answer() {
  local w
  w=$(wait_window "$1" 10) || fail "no window '$1' came to answer with $2"
  activate "$w"
  keys "$2"
}

export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$work/run" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
member_file="$HOME/VELN Net/Version 1/Veln.dat"
session_file="$work/keyboard net.txt"
mkdir -p "$(dirname "$member_file")"
record() { printf '%-6s%-15s%-25s' "$1" "$2" "$3"; }
{
  record W9ABC "ANN OPERATOR" "PEORIA IL"
  record K1ABC "BOB SMITH" "BOSTON MA"
  record N2ABX "LEE" "ALBANY NY"
  record KB9XYZ "DAN" "GARY IN"
  record "**EOF*" "" ""
} >"$member_file"
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"

step "starting"
"$veln" >"$work/veln.log" 2>&1 &
veln_pid=$!
pids+=("$veln_pid")
w=$(wait_window "^USER INFORMATION$" 60) || fail "the identity question did not come"
sleep 1  # the dialog takes the keyboard once it is drawn
activate "$w"
caps_off
type_text "Ann Operator"
keys Tab
type_text "w9abc"
keys Tab space Return
if w=$(wait_window "^QRZ LOGIN$" 15); then activate "$w"; keys Escape; fi
main=$(wait_window "^VELNOR Association" 30) || fail "the main window did not open"
activate "$main"
sleep 1
caps_off

step "check-ins: a member, an unknown call, a duplicate"
for call in k1abc w3abx k1abc; do
  type_text "$call"
  keys Return
done

step "a suggestion picked with F4, End, Enter"
keys F4 End Return # SUGGEST: W9ABC, K1ABC, N2ABX in member order
keys Escape

step "the unknown call added: F3, Enter, name, Tab, QTH, Alt+S"
keys F3 Return
type_text "carol"
keys Tab
type_text "boston ma"
keys alt+s
keys Escape

step "an edit: F2, Home, Down to K1ABC, Ctrl+E, F6 to the name"
keys F2 Home Down ctrl+e F6
type_text "robert"
keys alt+s Escape

step "a delete of the newest line (the added member): F2, End, Ctrl+D, No (off the roster only)"
keys F2 End ctrl+d
answer "^DELETE RECORD$" alt+n
keys Escape

step "traffic up twice and down once; a check-out"
keys ctrl+t ctrl+t ctrl+shift+t
keys F2 Home Down ctrl+k Escape

step "Save"
keys ctrl+s
w=$(wait_window "^Save As$" 10) || fail "Ctrl+S showed no file dialog"
activate "$w"
caps_off
keys ctrl+a
type_text "$session_file"
keys Return
for _ in $(seq 50); do [ -f "$session_file" ] && break; sleep 0.1; done
[ -f "$session_file" ] || fail "the session was not saved to $session_file"
activate "$main"
import -window root "$out/keyboard_net.png" 2>/dev/null

step "73: File, Exit, and Yes to the report"
keys ctrl+x
answer "^SAVE SESSION$" alt+y
for _ in $(seq 100); do kill -0 "$veln_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$veln_pid" 2>/dev/null && fail "the program did not end after File, Exit"
wait "$veln_pid" || fail "the program exited with $?"

step "files"
failures=0
check() { echo "FAIL: $*"; failures=$((failures + 1)); }
mapfile -t lines < <(tr -d '\r' <"$session_file")
printf '  [%s]\n' "${lines[@]}"
[ "${lines[1]}" = " 1" ] || check "traffic is '${lines[1]}', not 1"
printf '%s\n' "${lines[@]}" | grep -q "^ K1ABC ROBERT BOSTON MA$" || check "the edit is not in the session"
printf '%s\n' "${lines[@]}" | grep -q "^ W3ABX" && check "the line deleted is still in the session"
printf '%s\n' "${lines[@]}" | grep -q "^ N2ABX " || check "the suggestion picked is not in the session"
grep -q "W3ABX CAROL" "$member_file" || check "the added member is not in the member file"
grep -q "K1ABC ROBERT" "$member_file" || check "the edit is not in the member file"
# K1ABC checked in and out: its times line has both moments.
grep -qE '^K1ABC,[^,]+Z,[^,]+Z' "$session_file.times" 2>/dev/null || check "no check-out of K1ABC beside the session"
grep -qi '^Sessions="\?1' "$XDG_CONFIG_HOME/VELN/VELN.ini" || check "the session did not reach the monthly report"
[ $failures -eq 0 ] || exit 1
echo "keyboard net: all checks passed"
