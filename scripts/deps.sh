#!/usr/bin/env bash
# Installs the Debian packages (Debian 12 or 13) Tallix needs to build, run
# and test, when any is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  file dpkg-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n qt6-wayland qt6-wayland-dev
  libfontconfig-dev qt6-base-private-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libchm-dev fp-compiler fp-units-misc fp-units-fcl
  libgtest-dev libgmock-dev libbenchmark-dev
  libmpfr-dev
  clang libclang-rt-dev clang-format
  fonts-wine fontconfig
  locales
  xvfb xauth weston
  xclip xdotool openbox x11-apps python3-xlib dbus
  build-essential debhelper lintian blhc devscripts autopkgtest
  appstream appstream-compose desktop-file-utils imagemagick
)
# Qt's private WaylandClient (and Gui) headers, for the Wayland plugins
# (app/wayland_shm, app/wayland_frame). Debian 12 (Qt 6.4) has no private
# WaylandClient package: there both plugins declare what they need, checked
# against the library at configure time.
. /etc/os-release
if [ "${VERSION_CODENAME:-}" != bookworm ]; then packages+=(qt6-wayland-private-dev qt6-base-private-dev); fi

# The arm64 cross build (preset arm64): the cross compiler, qemu-user to run
# what it builds, and the target's libraries from Debian's arm64 archive.
# "scripts/deps.sh arm64-window" adds Qt and the program's other libraries for
# arm64, and ImageMagick (scripts/arm64_window.sh).
packages+=(crossbuild-essential-arm64 qemu-user-static libc6:arm64 libstdc++6:arm64
           libmpfr-dev:arm64 libgmp-dev:arm64 libgtest-dev:arm64 libgmock-dev:arm64)
if [ "${1:-}" = arm64-window ]; then
  packages+=(qt6-base-dev:arm64 libgl-dev:arm64 libfontconfig-dev:arm64 libjpeg62-turbo-dev:arm64
             qt6-qpa-plugins:arm64 qt6-wayland-dev:arm64 qt6-wayland:arm64 libxkbcommon-dev:arm64 imagemagick)
fi
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  echo "Adding the arm64 architecture to dpkg"
  if [ "$(id -u)" -ne 0 ]; then sudo dpkg --add-architecture arm64; else dpkg --add-architecture arm64; fi
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# The package's own build dependencies (debian/control states them), for
# dpkg-buildpackage: whatever the list above lacks.
if ! dpkg-checkbuilddeps 2>/dev/null; then
  echo "Installing the build dependencies of debian/control"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get build-dep -y -qq --no-install-recommends "$(dirname "$0")/.." </dev/null
fi
