#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each once over its seed
# corpus in fuzz/corpus/<name> (a regression run: seconds, no fuzzing time).
#   bash scripts/fuzz.sh                          every target, regression run
#   bash scripts/fuzz.sh --time 600 member_file   fuzz one target for 600 s
# Fuzzing keeps what it finds in build-fuzz/corpus/<name>; a crash leaves a
# crash-* file in the current folder to add to the seed corpus once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

seconds=0
only=""
while [ $# -gt 0 ]; do
  case "$1" in
    --time) seconds="$2"; shift 2 ;;
    *) only="$1"; shift ;;
  esac
done

dir="${VELN_FUZZ_BUILD:-build-fuzz}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELN_BUILD_FUZZ=ON -DVELN_BUILD_TESTS=OFF -DVELN_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j2 --target veln_fuzz

for corpus in fuzz/corpus/*/; do
  name=$(basename "$corpus")
  if [ -n "$only" ] && [ "$only" != "$name" ]; then
    continue
  fi
  target="$dir/fuzz/fuzz_$name"
  dict=()
  if [ -f "fuzz/${name%%_*}.dict" ]; then
    dict=(-dict="fuzz/${name%%_*}.dict")
  fi
  if [ "$seconds" -gt 0 ]; then
    mkdir -p "$dir/corpus/$name"
    "$target" "${dict[@]}" -max_total_time="$seconds" -print_final_stats=1 "$dir/corpus/$name" "$corpus"
  else
    echo "== $name"
    "$target" -runs=0 "$corpus" 2>&1 | tail -n 1
  fi
done
