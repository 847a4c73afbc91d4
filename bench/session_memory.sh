#!/usr/bin/env bash
# Resident memory of the calculator window under Wayland (a headless Weston
# of its own) and under X11 (a private Xvfb), 3 s after start, three launches
# each, with the GL libraries each start mapped. Under Wayland it also
# measures Qt's own path (QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=wayland-egl and
# QT_WAYLAND_DECORATION=bradient set by hand, as a user would), for comparison.
#
#   bench/session_memory.sh [path/to/tallix]
set -euo pipefail

program=$(realpath "${1:-build/release/app/tallix}")
for tool in weston Xvfb; do
  command -v "$tool" >/dev/null || { echo "session_memory: $tool is missing (scripts/deps.sh)" >&2; exit 2; }
done
runtime=$(mktemp -d)
chmod 700 "$runtime"
display=:$((90 + RANDOM % 100))
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$runtime"
}
trap cleanup EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=tallix-bench --idle-time=0 \
  >"$runtime/weston.log" 2>&1 &
pids+=($!)
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$runtime/tallix-bench" ] && break; sleep 0.1; done
sleep 1

# measure LABEL ENV...: three launches, RSS and the GL libraries mapped.
measure() {
  local label=$1
  shift
  local figures=() libraries=""
  for _ in 1 2 3; do
    env -u DISPLAY -u WAYLAND_DISPLAY "$@" "$program" >/dev/null 2>&1 &
    local pid=$!
    sleep 3
    figures+=("$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")")
    libraries=$(grep -oE 'lib(EGL_mesa|LLVM[^/]*|gallium[^/]*|tallix_[a-z]+)\.so|swrast_dri|libdecor[^/]*\.so|libbradient\.so' \
      "/proc/$pid/maps" | sort -u | tr '\n' ' ' || true)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  done
  printf '%-44s %s kB   %s\n' "$label" "${figures[*]}" "${libraries:-no GL driver, no plugin}"
}

wayland=(XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=tallix-bench QT_QPA_PLATFORM=wayland)
measure "Wayland (Weston), as shipped" "${wayland[@]}"
measure "Wayland, Qt's own buffers (wayland-egl) and frame" "${wayland[@]}" QT_WAYLAND_CLIENT_BUFFER_INTEGRATION=wayland-egl \
  QT_WAYLAND_DECORATION=bradient
measure "X11 (Xvfb)" DISPLAY="$display" QT_QPA_PLATFORM=xcb
