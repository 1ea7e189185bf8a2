#!/usr/bin/env bash
# A net shared through a broker of the test's own: the net control's window
# publishes, a second seat's window follows, a windowless seat serves the
# web page. Twenty check-ins, a check-out and traffic on the net control
# show on the follower and, in a real browser, on the page; the net control
# is killed, the follower takes over and goes on; the old net control
# restarts, brings its net back and follows the seat that took over.
#
#   share_net.sh VELN OUTPUT_DIR
#
# Exits 77 (skipped) when Xvfb, the session bus, pyatspi, mosquitto or
# chromium is missing.
set -uo pipefail

veln=$(realpath "$1")
out=$2
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
  if [ -n "${DISPLAY:-}" ]; then import -window root "$out/share_net_failure.png" 2>/dev/null; fi
  local s
  for s in a b c; do [ -s "$work/$s/log" ] && { echo "  --- seat $s"; tail -n 8 "$work/$s/log" | sed 's/^/  /'; }; done
  exit 1
}
. "$here/desktop_session.sh"
command -v mosquitto >/dev/null || skip "mosquitto is not installed (scripts/bootstrap.sh installs it)"
command -v chromium >/dev/null || skip "chromium is not installed (scripts/bootstrap.sh installs it)"
start_display
start_bus

free_port() { $py -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
port=$(free_port)
printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\n' "$port" >"$work/mosquitto.conf"
mosquitto -c "$work/mosquitto.conf" >"$work/mosquitto.log" 2>&1 &
pids+=($!)
address="mqtt://127.0.0.1:$port/club-net"

members=(W9ABC K2BCD)
for l in A B C D E F G H I J K L M N O P Q R S T; do members+=("K1A$l"); done
home_of() {
  local h="$work/$1"
  mkdir -p "$h/VELN Net/Version 1" "$h/.config/VELN" "$h/run"
  chmod 700 "$h/run"
  {
    local m
    for m in "${members[@]}"; do printf '%-6s%-15s%-25s' "$m" "NAME $m" "TOWN"; done
    printf '%-6s%-15s%-25s' "**EOF*" "" ""
  } >"$h/VELN Net/Version 1/Veln.dat"
  printf '[Settings]\nUser%%20Name=%s\nUser%%20Call=%s\nchkNoShow=1\nNetMgr=BOB SMITH\nNetMgrCall=K1ABC\n' \
    "$2" "$3" >"$h/.config/VELN/VELN.ini"
  chmod 600 "$h/.config/VELN/VELN.ini"
}
seat() {
  local h="$work/$1"
  shift
  HOME=$h XDG_CONFIG_HOME=$h/.config XDG_DATA_HOME=$h/.local/share XDG_CACHE_HOME=$h/.cache XDG_RUNTIME_DIR=$h/run \
    "$veln" "$@" >>"$h/log" 2>&1 &
  seat_pid=$!
  pids+=("$seat_pid")
}
keys() { xdotool key --delay 40 "$@"; sleep 0.2; }
# The main window of the program with this pid.
main_of() {
  local end=$((SECONDS + 40)) w
  while [ $SECONDS -lt $end ]; do
    for w in $(xdotool search --onlyvisible --name "^VELNOR Association" 2>/dev/null); do
      [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$1" ] && { echo "$w"; return 0; }
    done
    sleep 0.2
  done
  return 1
}
identity() { # the identity question: yes, today's net control (or not)
  local w
  w=$(wait_window "^USER INFORMATION$" 40) || fail "the identity question did not come"
  sleep 0.5
  activate "$w"
  if [ "$1" = yes ]; then keys space Return; else keys Return; fi
}
shown() { $py "$here/shown_net.py" VELN --pid "$1"; }
share_line() { $py "$here/shown_net.py" VELN --pid "$1" --share-line; }
# Waits until both windows show the same net.
same_net() {
  local end=$((SECONDS + 20))
  while [ $SECONDS -lt $end ]; do
    shown "$1" >"$work/one.txt"
    shown "$2" >"$work/two.txt"
    cmp -s "$work/one.txt" "$work/two.txt" && return 0
    sleep 0.5
  done
  diff "$work/one.txt" "$work/two.txt"
  return 1
}
wait_line() { # pid, pattern
  local end=$((SECONDS + 20))
  while [ $SECONDS -lt $end ]; do
    share_line "$1" | grep -q "$2" && return 0
    sleep 0.3
  done
  echo "  share line: $(share_line "$1")"
  return 1
}
page() { # the web page as a browser has it after its script ran
  # The browser stays off the test's display and accessibility bus.
  env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY NO_AT_BRIDGE=1 timeout 30 chromium --headless --no-sandbox --disable-gpu --user-data-dir="$work/chromium" \
    --dump-dom "http://127.0.0.1:$web/" 2>/dev/null
}
wait_page() { # calls that must all be on the page
  local end=$((SECONDS + 30)) c missing
  while [ $SECONDS -lt $end ]; do
    page >"$work/page.html"
    missing=""
    for c in "$@"; do grep -q ">$c<" "$work/page.html" || missing="$missing $c"; done
    [ -z "$missing" ] && return 0
    sleep 1
  done
  echo "  not on the page:$missing"
  return 1
}

# --- the net control shares, a second seat follows, a server serves the page
home_of a "ANN OPERATOR" W9ABC
home_of b "BOB RELAY" K2BCD
home_of c "WEB" N0WEB
seat a --share "$address"
a=$seat_pid
identity yes
wa=$(main_of "$a") || fail "the net control's window did not open"
wait_line "$a" "SHARING ON veln/club-net" || fail "the net control did not share the net"
seat b --follow "$address"
b=$seat_pid
identity no
wb=$(main_of "$b") || fail "the follower's window did not open"
web=$(free_port)
(
  cd "$work/c" && HOME=$work/c XDG_CONFIG_HOME=$work/c/.config XDG_DATA_HOME=$work/c/.local/share \
    XDG_CACHE_HOME=$work/c/.cache DISPLAY= exec "$veln" --follow "$address" --web "$web"
) >>"$work/c/log" 2>&1 &
pids+=($!)

# --- twenty check-ins, a check-out and traffic at the net control
activate "$wa"
sleep 0.3
for m in "${members[@]:2}"; do
  xdotool type --delay 20 "$m"
  keys Return
done
keys F2 Home Down ctrl+k Escape
keys ctrl+t ctrl+t ctrl+t ctrl+shift+t
same_net "$a" "$b" || fail "the follower does not show the net control's net"
grep -c '^line' "$work/two.txt" | grep -qx 21 || fail "the follower lists $(grep -c '^line' "$work/two.txt") stations, not 21"
grep -q 'counter Traffic: 2' "$work/two.txt" || fail "the follower's traffic is not 2"
grep -q 'checked out' "$work/two.txt" || fail "the follower does not show the check-out"
wait_line "$b" "NET CONTROL W9ABC ANN OPERATOR ONLINE" || fail "the follower does not say whose net it follows"
wait_page W9ABC K1AA K1AT || fail "the web page does not list the net"
echo "net control and follower agree: $(grep -c '^line' "$work/two.txt") stations; the web page lists them"

# --- the net control is lost; the follower takes over and goes on
kill -9 "$a"
wait_line "$b" "OFFLINE" || fail "the follower does not say the net control went offline"
activate "$wb"
keys alt+o alt+o t  # F&ormat answers the first alt+o
wait_line "$b" "SHARING ON veln/club-net" || fail "the follower did not take over"
activate "$wb"
keys Escape
xdotool type --delay 20 "k2bcd"
keys Return
shown "$b" >"$work/taken.txt"
grep -q '^line \[ K2BCD' "$work/taken.txt" || fail "the seat that took over could not check in"
wait_page K2BCD || fail "the web page did not follow the take-over"
echo "the follower took over and checked in K2BCD"

# --- the old net control comes back, restores its net, and follows
seat a --share "$address"
a=$seat_pid
identity yes
w=$(wait_window "^RESTORE NET$" 30) || fail "the old net control did not offer its net back"
activate "$w"
keys Return
main_of "$a" >/dev/null || fail "the old net control's window did not open again"
wait_line "$a" "TAKEN OVER BY K2BCD" || fail "the old net control does not say who took over"
same_net "$a" "$b" || fail "the old net control does not follow the net"
import -window root "$out/share_net.png" 2>/dev/null
echo "share net: follower, web page, take-over and return all passed"
