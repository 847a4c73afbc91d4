#!/bin/sh
# Resident memory of tallix as its About window is opened and closed again and
# again: the figure after start-up, then after 1, 10, 25, 50 and 100 openings.
# A closed window should leave nothing behind but what pays for itself.
#
#   bench/about_memory.sh [PROGRAM] [OPENINGS]   (default build/release/app/tallix, 100)
#
# Needs xvfb and xdotool. Runs on its own Xvfb display, with the neutral
# environment startup.py gives programs.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$(dirname "$here")/build/release/app/tallix}
openings=${2:-100}
[ -x "$program" ] || { echo "about_memory.sh: $program is missing; build it first" >&2; exit 2; }
command -v xdotool >/dev/null || { echo "about_memory.sh: xdotool is missing" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

display=:$((90 + $$ % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
mkdir -m 700 "$work/runtime"
env -i PATH=/usr/bin:/bin HOME="$work" LANG=C.UTF-8 DISPLAY="$display" QT_QPA_PLATFORM=xcb \
  QT_ACCESSIBILITY=0 XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/log" 2>&1 &
app_pid=$!
export DISPLAY="$display"

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status"; }
main=$(xdotool search --sync --name '^Duvuroreza$' | head -1)
sleep 1.5
start=$(rss)
printf '%-10s %9s %9s\n' openings 'RSS kB' 'growth'
printf '%-10s %9s %9s\n' start "$start" 0
n=0
while [ "$n" -lt "$openings" ]; do
  n=$((n + 1))
  # "A propos de..." lies at 78,206 (77x25) in the main window.
  xdotool mousemove --window "$main" 116 218 click 1
  about=$(xdotool search --sync --name '^A propos de\.\.\.$' | head -1)
  # Its close button lies at 70,336 (289x25).
  xdotool mousemove --window "$about" 214 348 click 1
  while xdotool search --name '^A propos de\.\.\.$' >/dev/null 2>&1; do sleep 0.02; done
  case $n in 1|10|25|50|100|"$openings")
    sleep 0.3
    now=$(rss)
    printf '%-10s %9s %9s\n' "$n" "$now" $((now - start)) ;;
  esac
done
