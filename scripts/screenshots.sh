#!/usr/bin/env bash
# Makes the store screenshots in doc/screenshots from the built program, on a
# private virtual display at three times the scale (the main window is then
# 786 pixels wide; software centres want at least 620):
#   main-window.png  the calculator after 2 + 3 = typed on the keyboard
#   about.png        the "A propos de..." window, opened by its button
#   report.png       the report of a pasted text that is no number
# The AppStream file names them under the project's web address and reads
# their sizes at configure time.
#   scripts/screenshots.sh [path/to/tallix]     (default build/release/app/tallix)
# Needs xvfb, xauth, xdotool, xclip and imagemagick (scripts/deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/release/app/tallix}")
out=doc/screenshots
scale=3
mkdir -p "$out"

work=$(mktemp -d)
trap 'kill "${pid:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
display=:$((70 + RANDOM % 100))
Xvfb "$display" -screen 0 2560x1600x24 -nolisten tcp -auth /dev/null >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || sleep 2
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale

# One window, by its exact title, as a PNG without time stamps.
shoot() {  # title file
  local id
  id=$(xdotool search --sync --onlyvisible --name "^$1\$" | head -1)
  sleep 0.5
  import -window "$id" -define png:exclude-chunks=date,time "$out/$2"
  echo "$out/$2: $(identify -format '%wx%h' "$out/$2")"
}

xdotool mousemove 0 0   # no button under the pointer, none lit
"$program" >"$work/tallix.log" 2>&1 &
pid=$!
main=$(xdotool search --sync --onlyvisible --name '^Duvuroreza$' | head -1)
xdotool windowfocus --sync "$main"
xdotool type --delay 80 '2+3='
xdotool mousemove 0 0
shoot Duvuroreza main-window.png

# The About button (layout position 78,206, size 77x25), then its "Fermer"
# button (70,336, 289x25).
xdotool mousemove --window "$main" $((116 * scale)) $((218 * scale)) click 1
shoot 'A propos de...' about.png
about=$(xdotool search --onlyvisible --name '^A propos de...$' | head -1)
xdotool mousemove --window "$about" $((214 * scale)) $((348 * scale)) click 1
sleep 0.5

# A pasted text that is no number, then "+": the conversion report.
printf abc | xclip -selection clipboard
xdotool windowfocus --sync "$main"
xdotool key ctrl+v
xdotool type --delay 80 '+'
shoot 'Tallix Standart' report.png
xdotool key Return
