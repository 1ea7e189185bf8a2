#!/usr/bin/env bash
# Installs what is missing, builds the program alone and makes the Debian
# package build-package/veln_<version>_<arch>.deb. Install it with
#   sudo apt-get install ./build-package/veln_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELN_BUILD_TESTS=OFF -DVELN_BUILD_BENCH=OFF >/dev/null
cmake --build build-package -j2
cd build-package
cpack -G DEB
ls "$PWD"/veln_*.deb
