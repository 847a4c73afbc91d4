#!/usr/bin/env bash
# Installs the Debian packages (Debian 12 or 13) Tallix needs to build, run
# and test, when any is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  file dpkg-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n qt6-wayland qt6-wayland-dev
  libfontconfig-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libchm-dev fp-compiler fp-units-misc fp-units-fcl
  libgtest-dev libgmock-dev libbenchmark-dev
  libmpfr-dev
  clang libclang-rt-dev clang-format
  fonts-wine fontconfig
  locales
  xvfb xauth weston
  xclip xdotool openbox x11-apps python3-xlib dbus
)
# Qt's private WaylandClient (and Gui) headers, for the Wayland plugins
# (app/wayland_shm, app/wayland_frame). Debian 12 (Qt 6.4) has no private
# WaylandClient package: there the buffer plugin declares what it needs and
# the frame plugin is not built.
. /etc/os-release
if [ "${VERSION_CODENAME:-}" != bookworm ]; then packages+=(qt6-wayland-private-dev qt6-base-private-dev); fi

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
