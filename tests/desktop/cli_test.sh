#!/usr/bin/env bash
# The command line: --help and --version answer without a display and
# without writing a file; without a display the program says so in one line
# and fails instead of aborting.
set -uo pipefail
veln=$1
version=$2

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A fresh user with no display at all.
run() {
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    "$@"
}

out=$(run "$veln" --version 2>&1); rc=$?
[ $rc -eq 0 ] || fail "--version exited $rc"
[ "$out" = "VELN $version" ] || fail "--version printed '$out', not 'VELN $version'"

out=$(run "$veln" -v 2>&1)
[ "$out" = "VELN $version" ] || fail "-v printed '$out'"

# Each help option, and whether it lists the Qt options (-platform, -display).
help_options=(
  --help no
  -h no
  --help-all yes
)
for ((i = 0; i < ${#help_options[@]}; i += 2)); do
  opt=${help_options[i]}
  out=$(run "$veln" "$opt" 2>&1); rc=$?
  [ $rc -eq 0 ] || fail "$opt exited $rc"
  for word in "--help" "--help-all" "--version" "Net-control logger"; do
    grep -q -- "$word" <<<"$out" || fail "$opt does not mention '$word': $out"
  done
  if [ "${help_options[i + 1]}" = yes ]; then
    grep -q -- "-platform" <<<"$out" || fail "$opt does not list the Qt options: $out"
  else
    grep -q -- "-platform" <<<"$out" && fail "$opt lists the hidden Qt options"
  fi
done

check_no_display() {
  local what=$1; shift
  local err rc
  err=$(run "$@" 2>&1 >/dev/null); rc=$?
  [ $rc -ne 0 ] || fail "$what: exited 0 without a display"
  [ $rc -lt 128 ] || fail "$what: killed by a signal ($rc) instead of exiting"
  [ "$(wc -l <<<"$err")" -eq 1 ] || fail "$what: not one line on stderr: $err"
  grep -q "display" <<<"$err" || fail "$what: the line does not say what is missing: $err"
}
check_no_display "no display" "$veln"
check_no_display "X11 asked for" env QT_QPA_PLATFORM=xcb "$veln"
check_no_display "Wayland asked for" env QT_QPA_PLATFORM=wayland DISPLAY=:99 "$veln"
check_no_display "-platform xcb" "$veln" -platform xcb

err=$(run "$veln" --no-such-option 2>&1); rc=$?
[ $rc -eq 2 ] || fail "an unknown option exited $rc, not 2"
grep -q "no-such-option" <<<"$err" || fail "an unknown option is not named: $err"

left=$(find "$home" -mindepth 1 | head -5)
[ -z "$left" ] || fail "files were written: $left"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "command line: all checks passed"
