#!/usr/bin/env bash
# Makes the store screenshots in doc/screenshots from the built program, on a
# private virtual display at three times the scale (the main window is then
# 786 pixels wide; software centres want at least 620):
#   main-window.png  the calculator after 2 + 3 = typed on the keyboard
#   about.png        the "A propos de..." window, opened by its button
#   report.png       the report of a pasted text that is no number
# The AppStream file names them under the project's web address and reads
# their sizes at configure time. Then, on Weston's X11 output at the same
# scale, the windows in the frame the program draws under Wayland:
#   wayland-main.png   the calculator, its caption with a close box only
#   wayland-about.png  the About window over it, a minimise and a close box
#   scripts/screenshots.sh [path/to/tallix]     (default build/release/app/tallix)
# Needs xvfb, xauth, xdotool, xclip, imagemagick and weston (scripts/deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/release/app/tallix}")
out=doc/screenshots
scale=3
mkdir -p "$out"

work=$(mktemp -d)
trap 'kill "${pid:-0}" "${weston:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
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

# Under Wayland: Weston draws its output into an X window of this display
# (no panel, a plain background), the program is its client at the output's
# scale. Weston places windows where it likes: each one is found as what
# changed on the output since the shot before.
kill "$pid"
wait "$pid" 2>/dev/null || true
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nbackground-color=0xff2a5a5a\nlocking=false\n%s\n' \
  'animation=none' >"$work/weston.ini"
weston --config="$work/weston.ini" --backend=x11-backend.so --width=600 --height=500 --scale=$scale \
  --use-pixman --socket=tallix-shots >"$work/weston.log" 2>&1 &
weston=$!
output=$(xdotool search --sync --class '^Weston Compositor$' | head -1)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/tallix-shots" ] && break; sleep 0.1; done
xdotool mousemove 0 0   # Weston's pointer in the corner for every grab
sleep 1
grab() { import -window "$output" -define png:exclude-chunks=date,time "$work/$1.png"; }
# What differs between two grabs, outside an optional rectangle: WxH+X+Y.
changed() {  # before after [x0,y0 x1,y1]
  compare -metric AE "$work/$1.png" "$work/$2.png" -compose src -highlight-color white \
    -lowlight-color black "$work/diff.png" 2>/dev/null || true
  convert "$work/diff.png" ${3:+-fill black -draw "rectangle $3"} -bordercolor black -border 1 \
    -format '%@' info:
}
# Waits until something shows beside the grab `before`, then grabs `after`.
settle() {  # before after
  for _ in $(seq 100); do
    grab "$2"
    [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)" != 0 ] && break
    sleep 0.1
  done
  sleep 1
  grab "$2"
}
crop() {  # grab geometry file
  local w h x y
  IFS='x+' read -r w h x y <<<"$2"
  convert "$work/$1.png" -crop "${w}x${h}+$((x - 1))+$((y - 1))" +repage \
    -define png:exclude-chunks=date,time "$out/$3"
  echo "$out/$3: $(identify -format '%wx%h' "$out/$3")"
}
grab desktop
env -u DISPLAY -u QT_SCALE_FACTOR QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=tallix-shots \
  "$program" >"$work/tallix-wayland.log" 2>&1 &
pid=$!
settle desktop main
frame=$(changed desktop main)
crop main "$frame" wayland-main.png
# The About button, in the frame's margins (3 left, 30 on top); then the
# pointer back where it was, so that only the new window differs.
IFS='x+' read -r w h x y <<<"$frame"
xdotool mousemove $((x - 1 + (3 + 116) * scale)) $((y - 1 + (30 + 218) * scale)) click 1
xdotool mousemove 0 0
settle main about
# The calculator's caption changes too (no longer active): the About window
# is larger than it both ways, so what changed outside it is the About window.
crop about "$(changed main about "$((x - 1)),$((y - 1)) $((x + w - 2)),$((y + h - 2))")" wayland-about.png
