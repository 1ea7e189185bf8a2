#!/usr/bin/env bash
# Kills the program's writers at random moments, 100 times during adds of
# members and 100 times during session saves, and checks after each kill
# that no file is torn, no stored member is lost, every saved station keeps
# its time, and a start removes the writer's leftovers.
#   bash bench/kill_during_writes.sh [build-dir] [kills]
set -uo pipefail
build=${1:-build}
kills=${2:-100}
writer="$build/bench/kill_writer"
[ -x "$writer" ] || { echo "build $writer first (cmake --build $build --target kill_writer)"; exit 2; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

faults=0
for mode in add save; do
  rm -rf "$home"/* "$home"/.config 2>/dev/null
  stored=()
  for ((i = 1; i <= kills; i++)); do
    "$writer" "$mode" "$home" > "$home/out" 2>/dev/null &
    pid=$!
    sleep "0.0$((RANDOM % 90 + 10))"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    while read -r word call; do
      [ "$word" = added ] && stored+=("$call")
    done < "$home/out"
    if ! result=$("$writer" check "$home" "${stored[@]}"); then
      echo "$mode kill $i: $result"
      faults=$((faults + 1))
    fi
    [ "$i" -eq "$kills" ] && echo "$mode: $kills kills, last check: $result"
  done
done
echo "faults: $faults"
[ "$faults" -eq 0 ]
