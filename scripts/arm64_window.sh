#!/usr/bin/env bash
# The Debian packages cross-built for arm64 from debian/ (tallix and
# tallix-keys, in build/arm64-window/deb/), the packaged window started under
# qemu-user on a private Xvfb display, and a screenshot of it compared with
# the x86-64 window's, taken on a display with the same settings, as the
# window opens and after 2 / 3 =.
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

# Two arm64 packages the build needs are not multiarch, so they cannot be
# installed beside their amd64 builds: libchm1 is unpacked whole (its
# DEBIAN/shlibs included) into the build folder, where the package build
# reads its SONAME and dependency and qemu finds it when the help is opened;
# the private Qt headers of qt6-base-private-dev (the window uses the platform
# native interface) are unpacked into /usr/include/aarch64-linux-gnu/qt6,
# where Qt's arm64 CMake files look for them and no amd64 file lies.
chm=$out/chmlib
if [ ! -e "$chm/DEBIAN/shlibs" ]; then
  rm -rf "$chm"
  mkdir -p "$out/download"
  (cd "$out/download" && apt-get download libchm1:arm64)
  dpkg-deb -R "$out"/download/libchm1_*_arm64.deb "$chm"
fi
if [ ! -d /usr/include/aarch64-linux-gnu/qt6/QtGui/"$(dpkg-query -W -f='${source:Upstream-Version}' qt6-base-dev:arm64 | sed 's/+.*//')" ]; then
  mkdir -p "$out/download"
  (cd "$out/download" && apt-get download qt6-base-private-dev:arm64)
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo dpkg-deb -x "$out"/download/qt6-base-private-dev_*_arm64.deb /
fi

# Every other build dependency of debian/control must be met for arm64; the
# cross build then skips dpkg's check (-d), which would stop at those two.
unmet=$( (dpkg-checkbuilddeps -a arm64 -Pcross,nocheck 2>&1 || true) |
  sed -n "s/.*Unmet build dependencies: //p")
for dependency in $unmet; do
  case $dependency in
    libchm-dev | qt6-base-private-dev) ;;
    *) echo "arm64: unmet build dependency $dependency"; exit 1 ;;
  esac
done

# The x86-64 program, and the arm64 packages cross-built from debian/ in a
# copy of the sources (dpkg-buildpackage writes the .deb files beside it).
# The help compiler is a host tool: Free Pascal builds it for x86-64 in both.
cmake --preset release >/dev/null
cmake --build --preset release --target tallix tallix_help
deb=$out/deb
rm -rf "$deb"
mkdir -p "$deb/tallix"
git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$deb/tallix"
echo "arm64: dpkg-buildpackage -a arm64 in $deb/tallix, its log in $deb/build.log"
(cd "$deb/tallix" && TALLIX_CHMLIB_ROOT="$chm" CMAKE_CXX_COMPILER_LAUNCHER=ccache \
  dpkg-buildpackage -a arm64 -Pcross,nocheck -us -uc -b -d -J2) >"$deb/build.log" 2>&1 ||
  { tail -40 "$deb/build.log"; echo "arm64: dpkg-buildpackage failed"; exit 1; }
rm -rf "$deb/tree"
for package in "$deb"/tallix_*_arm64.deb "$deb"/tallix-keys_*_arm64.deb; do
  dpkg-deb -x "$package" "$deb/tree"
done

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
shoot arm64 "${qemu[@]}" "$deb/tree/usr/lib/tallix/tallix"

status=0
for shot in open 2div3; do
  differing=$(compare -metric AE "$shots/x86-64-$shot.png" "$shots/arm64-$shot.png" \
    "$shots/difference-$shot.png" 2>&1 || true)
  echo "$shot: pixels that differ between the x86-64 and the arm64 window: $differing"
  [ "$differing" = 0 ] || status=1
done
ls "$deb"/*_arm64.deb
exit $status
