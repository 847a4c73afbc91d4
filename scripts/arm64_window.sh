#!/usr/bin/env bash
# The whole program cross-built for arm64 (preset arm64-window) with its
# Debian package, its window started under qemu-user on a private Xvfb
# display, and a screenshot of it compared with the x86-64 window's, taken on
# a display with the same settings. Leaves in build/arm64-window/screenshots/
# x86-64.png, arm64.png and difference.png, and prints the number of pixels
# that differ (ImageMagick's compare -metric AE). Exits 1 when any does.
#
#   scripts/arm64_window.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh arm64-window

out=$PWD/build/arm64-window
shots=$out/screenshots
mkdir -p "$shots"

# libchm1 is not multiarch: its arm64 build cannot be installed beside the
# amd64 one. It is unpacked into the build folder instead, where the build
# reads its SONAME and qemu finds it when the help is opened.
chm=$out/chmlib
if [ ! -e "$chm/usr/lib/libchm.so.1" ]; then
  mkdir -p "$chm/deb"
  (cd "$chm/deb" && apt-get download libchm1:arm64)
  dpkg-deb -x "$chm"/deb/libchm1_*_arm64.deb "$chm"
fi

# The x86-64 program, and the arm64 one with its package. The help compiler
# is a host tool: Free Pascal builds it for x86-64 in both.
cmake --preset release >/dev/null
cmake --build --preset release --target tallix tallix_help
cmake --preset arm64-window -DCHM_LIBRARY="$chm/usr/lib/libchm.so.1" >/dev/null
cmake --build --preset arm64-window
(cd "$out" && cpack -G DEB)

qemu=(qemu-aarch64-static -L / -E "LD_LIBRARY_PATH=$chm/usr/lib")

# shoot NAME COMMAND...: starts COMMAND on a fresh 1024x768x24 Xvfb display,
# with a fresh home, and captures its window once two captures a second apart
# are the same (the first paint under qemu takes a few seconds).
shoot() {
  local name=$1
  shift
  local display=:$((90 + RANDOM % 100)) home
  home=$(mktemp -d)
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  for _ in $(seq 50); do DISPLAY=$display xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb HOME="$home" \
    XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" LANG=C.UTF-8 "$@" >"$shots/$name.log" 2>&1 &
  local program=$!
  local began=$SECONDS window
  window=$(DISPLAY=$display timeout 120 xdotool search --sync --onlyvisible --name '^Duvuroreza$' | head -1)
  echo "$name: window on screen after $((SECONDS - began)) s"
  local previous=$shots/$name.previous.png
  DISPLAY=$display import -window "$window" "$previous"
  for _ in $(seq 60); do
    sleep 1
    DISPLAY=$display import -window "$window" "$shots/$name.png"
    if [ "$(compare -metric AE "$previous" "$shots/$name.png" null: 2>&1 || true)" = 0 ]; then break; fi
    cp "$shots/$name.png" "$previous"
  done
  rm -f "$previous"
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$home"
}

shoot x86-64 build/release/app/tallix
shoot arm64 "${qemu[@]}" "$out/app/tallix"

identify "$shots/x86-64.png" "$shots/arm64.png"
differing=$(compare -metric AE "$shots/x86-64.png" "$shots/arm64.png" "$shots/difference.png" 2>&1 || true)
echo "pixels that differ between the x86-64 and the arm64 window: $differing"
ls "$out"/tallix_*_arm64.deb
[ "$differing" = 0 ]
