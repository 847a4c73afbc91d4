#!/bin/sh
# Start-up time and memory of tallix against the toolkit's floor (a bare Qt
# window of the same size and widget count), xcalc and the installed peer
# calculators, in one interleaved run under one Xvfb. The ratio column is
# against the bare Qt window. tallix and the bare window run twice: from a
# terminal, and as a desktop launcher starts them (the "-launcher" rows:
# DESKTOP_STARTUP_ID set, as for a desktop entry with StartupNotify=true).
# Then bench/startup_instructions.sh counts the instructions of the same four
# starts (skipped with TALLIX_STARTUP_COUNTS=0): times on a shared machine
# are noisy, the counts are not.
#
#   bench/startup.sh [-n RUNS] [other startup.py options]     (default -n 11)
#
# Build first: cmake --build --preset release --target tallix tallix-bare-window
# Needs xvfb python3-xlib dbus x11-apps valgrind; peers that are not installed
# (galculator, mate-calc, speedcrunch) are skipped.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TALLIX_BUILD_DIR:-$root/build/release}
tools=${TALLIX_STARTUP_TOOLS:-$root/../shared/tools}
for program in "$build/app/tallix" "$build/tools/tallix-bare-window"; do
  [ -x "$program" ] || { echo "startup.sh: $program is missing; build it first" >&2; exit 2; }
done
case " $* " in *" -n "*|*" --runs "*) runs= ;; *) runs="-n 11" ;; esac
launcher="DESKTOP_STARTUP_ID=tallix-bench_TIME0"
# shellcheck disable=SC2086  # $runs is two words or none
/usr/bin/python3 "$tools/startup.py" $runs \
  --config "$tools/peers.toml" \
  --only bare-qt,tallix,bare-qt-launcher,tallix-launcher,xcalc,galculator,mate-calc,speedcrunch \
  -c "bare-qt=$build/tools/tallix-bare-window" \
  -c "tallix=$build/app/tallix" \
  -c "bare-qt-launcher=$launcher $build/tools/tallix-bare-window" \
  -c "tallix-launcher=$launcher $build/app/tallix" \
  --baseline bare-qt "$@"
[ "${TALLIX_STARTUP_COUNTS:-1}" = 0 ] || "$here/startup_instructions.sh"
