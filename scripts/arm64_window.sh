#!/usr/bin/env bash
# The whole program cross-built for arm64 (preset arm64-window) with its
# Debian package, its window started under qemu-user on a private Xvfb
# display, and a screenshot of it compared with the x86-64 window's, taken on
# a display with the same settings, as the window opens and after 2 / 3 =.
# Leaves in build/arm64-window/screenshots/ x86-64-open.png, arm64-open.png,
# x86-64-2div3.png, arm64-2div3.png and their difference-*.png, and prints the
# number of pixels that differ (ImageMagick's compare -metric AE). Exits 1
# when any does.
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
# with a fresh home, and captures its window as it opens (NAME-open.png), then
# after the keys 2 / 3 = (NAME-2div3.png). Each capture is taken once two
# captures a second apart are the same: under qemu the program takes a few
# seconds to paint and to answer keys.
capture() {  # capture WINDOW FILE [DIFFERENT-FROM]
  local previous=$2.previous.png
  import -window "$1" "$previous"
  for _ in $(seq 90); do
    sleep 1
    import -window "$1" "$2"
    if [ "$(compare -metric AE "$previous" "$2" null: 2>&1 || true)" = 0 ] &&
      { [ -z "${3:-}" ] || [ "$(compare -metric AE "$3" "$2" null: 2>&1 || true)" != 0 ]; }; then
      break
    fi
    cp "$2" "$previous"
  done
  rm -f "$previous"
}
shoot() {
  local name=$1
  shift
  local display=:$((90 + RANDOM % 100)) home
  home=$(mktemp -d)
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_CACHE_HOME="$home/.cache" LANG=C.UTF-8 "$@" >"$shots/$name.log" 2>&1 &
  local program=$! began=$SECONDS window
  window=$(timeout 120 xdotool search --sync --onlyvisible --name '^Duvuroreza$' | head -1)
  echo "$name: window on screen after $((SECONDS - began)) s"
  capture "$window" "$shots/$name-open.png"
  # The pointer over the window: without a window manager the keys go where it is.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 130)) $((Y + 120))
  xdotool type --delay 300 '2/3='
  capture "$window" "$shots/$name-2div3.png" "$shots/$name-open.png"
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  unset DISPLAY
  rm -rf "$home"
}

shoot x86-64 build/release/app/tallix
shoot arm64 "${qemu[@]}" "$out/app/tallix"

status=0
for shot in open 2div3; do
  differing=$(compare -metric AE "$shots/x86-64-$shot.png" "$shots/arm64-$shot.png" \
    "$shots/difference-$shot.png" 2>&1 || true)
  echo "$shot: pixels that differ between the x86-64 and the arm64 window: $differing"
  [ "$differing" = 0 ] || status=1
done
ls "$out"/tallix_*_arm64.deb
exit $status
