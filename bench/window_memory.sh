#!/usr/bin/env bash
# Memory of the calculator window through a 10 MB paste, measured as a user
# would cause it: on a private Xvfb display, the clipboard set by xclip, the
# keys typed by xdotool. The session: Ctrl+V (ten million 7s), "+" (the
# conversion report opens), Enter (it closes), "5". Resident memory is read
# from /proc after each step; the goals are a peak (VmHWM) under 150 MB and
# under 40 MB once the display shows "5".
#
#   bench/window_memory.sh [path/to/tallix] [--wm]
#
# --wm runs openbox on the display first. Exits 1 when a goal is missed.
set -euo pipefail

program=build/release/app/tallix
wm=0
for arg in "$@"; do
  case "$arg" in
    --wm) wm=1 ;;
    *) program=$arg ;;
  esac
done
for tool in Xvfb xclip xdotool; do
  command -v "$tool" >/dev/null || { echo "window_memory: $tool is missing (scripts/deps.sh)" >&2; exit 2; }
done

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
if ((wm)); then openbox >/dev/null 2>&1 & pids+=($!); sleep 1; fi

"$program" >/dev/null 2>&1 &
tallix=$!
pids+=("$tallix")
xdotool search --sync --name '^Duvuroreza$' >/dev/null
window=$(xdotool search --name '^Duvuroreza$' | head -1)
# The pointer over the window: without a window manager the keys go where it is.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 130)) $((Y + 120))
((wm)) && xdotool windowactivate --sync "$window" 2>/dev/null || true

kb() { awk -v k="$1:" '$1 == k { print $2 }' "/proc/$tallix/status"; }
# Waits until resident memory has stopped moving (a 10 MB clipboard transfer
# takes a few seconds under Xvfb).
settle() {
  local last=-1 same=0 now
  for _ in $(seq 300); do
    now=$(kb VmRSS)
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
    ((same >= 5)) && return
    last=$now
    sleep 0.2
  done
}
report() { printf '%-22s VmRSS %7d kB   VmHWM %7d kB\n' "$1" "$(kb VmRSS)" "$(kb VmHWM)"; }

settle
report "start"
start_rss=$(kb VmRSS)
python3 -c "import sys; sys.stdout.write('7' * 10_000_000)" | xclip -selection clipboard -i
xdotool key ctrl+v
# The paste is done when memory has grown by the text and settled.
for _ in $(seq 300); do (($(kb VmRSS) > start_rss + 10000)) && break; sleep 0.1; done
settle
report "after the paste"
began=$(date +%s.%N)
xdotool key plus
xdotool search --sync --name '^Tallix Standart$' >/dev/null
shown=$(date +%s.%N)
settle
report "report box open"
python3 -c "print(f'report box on screen {$shown - $began:.2f} s after \"+\"')"
xdotool key Return
settle
xdotool key 5
settle
report 'display shows "5"'

peak=$(kb VmHWM)
last=$(kb VmRSS)
status=0
((peak < 150 * 1024)) || { echo "peak $peak kB is not under 150 MB"; status=1; }
((last < 40 * 1024)) || { echo "$last kB after \"5\" is not under 40 MB"; status=1; }
((status == 0)) && echo "goals met: peak under 150 MB, under 40 MB once the display shows \"5\""
exit $status
