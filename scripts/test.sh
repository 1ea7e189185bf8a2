#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# With --sanitize: the same with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  flags=(-DCMAKE_BUILD_TYPE=Debug -DVELN_SANITIZE=ON -DVELN_BUILD_BENCH=OFF)
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j2
cd "$dir"
# A desktop test that loses a race with a loaded machine gets one more try.
ctest --output-on-failure -j2 --repeat until-pass:2
