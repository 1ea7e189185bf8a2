#!/usr/bin/env bash
# Tries the Debian package as a new user would: a fresh Debian 12 root made
# with debootstrap, the package installed there with apt-get, then the menu
# entry's Exec line started on an X server of this machine until the first
# window shows. Needs root and the network to the Debian mirror.
#
#   try_deb.sh PACKAGE.deb [ROOT_FOLDER]
set -euo pipefail
deb=$(realpath "$1")
root=${2:-/var/tmp/veln-deb-root}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "--- debootstrap bookworm into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 || {
    tail -n 20 "$root.log"
    exit 1
  }
fi

mounts=()
cleanup() {
  local m
  for m in "${mounts[@]}"; do umount -R -l "$m" 2>/dev/null || true; done
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
# Slaves of the host's mounts: with shared propagation (systemd's default)
# unmounting the copies would otherwise unmount the host's /dev/pts too.
for m in proc sys dev; do
  mount --rbind "/$m" "$root/$m"
  mount --make-rslave "$root/$m"
  mounts=("$root/$m" "${mounts[@]}")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

echo "--- apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
chroot "$root" apt-get update -qq
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" >"$root.install.log" 2>&1 || {
  tail -n 20 "$root.install.log"
  exit 1
}
chroot "$root" dpkg -s veln | grep -E '^(Version|Depends|Recommends):'

echo "--- without a display"
chroot "$root" env -i PATH=/usr/bin:/bin veln --version
chroot "$root" env -i PATH=/usr/bin:/bin veln && exit 1 || echo "(exit $?)"

echo "--- the menu entry's Exec line on an X server"
# The package's own entry: the root holds other programs' entries too.
desktop=$root$(chroot "$root" dpkg-query -L veln | grep '^/usr/share/applications/.*\.desktop$' || true)
[ -f "$desktop" ] || { echo "the package has no menu entry"; exit 1; }
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
echo "$(basename "$desktop"): Exec=$exec_line"
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --make-slave "$root/tmp/.X11-unix"
mounts=("$root/tmp/.X11-unix" "${mounts[@]}")
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$root.display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$root.display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$root.display")"
chroot "$root" env -i PATH=/usr/bin:/bin HOME=/tmp/user DISPLAY="$DISPLAY" sh -c "mkdir -p /tmp/user && exec $exec_line" \
  >"$root.run.log" 2>&1 &
app=$!
# Searched again until the deadline: one search gives up when a window it
# looks at closes.
w=
for _ in $(seq 200); do
  w=$(xdotool search --onlyvisible --name "^USER INFORMATION$" 2>/dev/null | head -n 1)
  [ -n "$w" ] && break
  sleep 0.1
done
if [ -n "$w" ]; then
  xprop -id "$w" WM_CLASS
  import -window root "$root.png" && echo "screen: $root.png"
  echo "the program started from its menu entry"
  ok=0
else
  echo "no window came"; cat "$root.run.log"
  ok=1
fi
# chroot, env and sh each replaced themselves: $app is the program.
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
exit $ok
