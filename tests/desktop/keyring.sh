#!/usr/bin/env bash
# The callbook passwords against a real keyring daemon, each run on a private
# session bus in a home of its own: one keyring unlocked (the passwords go
# there and leave the settings file), one that cannot store without a prompt
# nobody answers (they stay in the settings file and nothing waits on it).
set -uo pipefail
tests=$1

for tool in dbus-run-session gnome-keyring-daemon secret-tool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (scripts/bootstrap.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# $1: unlocked or locked; $2: how the daemon is started on the new bus.
run() {
  local home=$work/$1
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  echo "--- keyring $1"
  env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_RUNTIME_DIR="$home/run" \
    XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    QT_QPA_PLATFORM=offscreen VELN_KEYRING="$1" VELN_TEST_CLASS=TstQtKeyring \
    dbus-run-session -- bash -c "$2 >/dev/null && exec \"\$0\"" "$tests"
}

status=0
run unlocked 'printf pw | gnome-keyring-daemon --unlock --components=secrets' || status=1
run locked 'gnome-keyring-daemon --start --components=secrets' || status=1
exit $status
