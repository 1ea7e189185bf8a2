#!/usr/bin/env bash
# The Debian package made from this build, and Debian's own checks of it.
#   package_checks.sh make BUILD_DIR OUT_DIR   CPack makes OUT_DIR/veln_*.deb
#   package_checks.sh lintian OUT_DIR          no lintian error and no warning
#   package_checks.sh hardening OUT_DIR        hardening-check passes on the program
# A missing tool skips the check (exit 77); scripts/bootstrap.sh installs them.
set -euo pipefail

skip() {
  echo "SKIP: $1 not found (Debian package $2; scripts/bootstrap.sh installs it)"
  exit 77
}

deb() {
  local found=("$1"/veln_*.deb)
  [ -f "${found[0]}" ] || { echo "no package in $1"; exit 1; }
  echo "${found[0]}"
}

case "$1" in
  make)
    build="$2" out="$3"
    command -v cpack >/dev/null || skip cpack cmake
    command -v dpkg-shlibdeps >/dev/null || skip dpkg-shlibdeps dpkg-dev
    rm -rf "$out"
    mkdir -p "$out"
    # The folders' modes go into the package as they are made.
    umask 022
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 \
      || { cat "$out/cpack.log"; exit 1; }
    deb "$out"
    ;;
  lintian)
    command -v lintian >/dev/null || skip lintian lintian
    package=$(deb "$2")
    root=()
    [ "$(id -u)" -ne 0 ] || root=(--allow-root)
    lintian "${root[@]}" --fail-on error,warning --display-info "$package"
    ;;
  hardening)
    command -v hardening-check >/dev/null || skip hardening-check devscripts
    package=$(deb "$2")
    tree=$(mktemp -d)
    trap 'rm -rf "$tree"' EXIT
    dpkg-deb -x "$package" "$tree"
    program="$tree/usr/bin/veln"
    # Debian 12's C start files (Scrt1.o, crti.o) carry no IBT/SHSTK property,
    # so the linker marks no program there as protected, however it was
    # compiled: count the compiler's branch-target instructions instead (one
    # per function with the flag, some thousands; a handful without it).
    hardening-check --verbose --nocfprotection "$program"
    branch_targets=$(objdump -d --no-show-raw-insn "$program" | grep -c endbr64 || true)
    echo " Control flow protection (-fcf-protection): $branch_targets branch targets marked"
    [ "$branch_targets" -gt 1000 ] || { echo "FAIL: the program was not built with -fcf-protection"; exit 1; }
    ;;
  *)
    echo "usage: $0 make BUILD_DIR OUT_DIR | lintian OUT_DIR | hardening OUT_DIR" >&2
    exit 2
    ;;
esac
