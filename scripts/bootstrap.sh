#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Does nothing when they are all present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins libqt6opengl6-dev libgl-dev
  qtkeychain-qt6-dev libsecret-1-0
  qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin
  libx11-dev libxkbcommon-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-liberation fonts-liberation2 fonts-dejavu-core
  libbenchmark-dev
  clang libclang-rt-dev
  xvfb xauth poppler-utils python3
  openbox xdotool x11-utils x11-xserver-utils imagemagick
  librsvg2-bin desktop-file-utils appstream dpkg-dev fakeroot file debootstrap
  lintian devscripts
  dbus-daemon gnome-keyring libsecret-tools
  at-spi2-core python3-pyatspi
  mosquitto mosquitto-clients libmosquitto-dev qt6-httpserver-dev openssl chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
