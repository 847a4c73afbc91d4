#!/bin/sh
# Instructions from exec to the first full paint, counted by callgrind, for
# tallix and the bare Qt window, each started from a terminal and as a
# desktop launcher starts it (DESKTOP_STARTUP_ID set). Counts do not depend on
# the machine's load, unlike times: quote these first.
#
#   bench/startup_instructions.sh [-n RUNS]      (default 3 per row; medians)
#
# The end point is the first QBackingStore::flush: the first frame the
# window's backing store hands to the X server (callgrind dumps the main
# thread's count when it returns). The other threads' counts (start-up's
# work ahead, Qt's X event reader, the session bus) are read when the
# window is idle after that. Each launch gets its own Xvfb, session bus and
# empty HOME, with LANG=C.UTF-8.
#
# Needs valgrind xvfb dbus; build first:
#   cmake --build --preset release --target tallix tallix-bare-window
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${TALLIX_BUILD_DIR:-$root/build/release}
runs=3
[ "${1:-}" = "-n" ] && runs=$2
command -v valgrind >/dev/null || { echo "startup_instructions.sh: valgrind is missing" >&2; exit 2; }
for program in "$build/app/tallix" "$build/tools/tallix-bare-window"; do
  [ -x "$program" ] || { echo "startup_instructions.sh: $program is missing; build it first" >&2; exit 2; }
done

scratch=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT INT TERM

# One launch: prints "MAIN OTHERS" (instructions of the main thread up to
# the first flush, and of every other thread up to idle).
count() {
  out=$scratch/run
  rm -rf "$out" && mkdir -p "$out/home"
  Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$out/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$out/display" ] && break; sleep 0.1; done
  display=:$(head -1 "$out/display")
  env -i PATH="$PATH" HOME="$out/home" LANG=C.UTF-8 DISPLAY="$display" "$@" \
    dbus-run-session -- valgrind --tool=callgrind --separate-threads=yes \
    --dump-after='QBackingStore::flush*' --callgrind-out-file="$out/cg" "$program" \
    >"$out/log" 2>&1 &
  launch=$!
  for _ in $(seq 600); do [ -s "$out/cg.1-01" ] && break; sleep 0.2; done
  sleep 3
  pid=$(sed -n 's/^==\([0-9]*\)== Callgrind.*/\1/p' "$out/log" | head -1)
  callgrind_control -d "$pid" >/dev/null 2>&1 || true
  sleep 2
  kill "$pid" 2>/dev/null || true
  wait "$launch" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
  main=$(sed -n 's/^totals: //p' "$out/cg.1-01")
  others=0
  for f in "$out"/cg.*-*; do
    case "$f" in *-01) continue ;; esac
    n=$(sed -n 's/^totals: //p' "$f")
    others=$((others + ${n:-0}))
  done
  echo "$main $others"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '| program | path | main thread, exec to first paint | x bare Qt | other threads |\n'
printf '|---|---|---|---|---|\n'
for path in terminal launcher; do
  for name in bare-qt tallix; do
    case $name in
      bare-qt) program=$build/tools/tallix-bare-window ;;
      tallix) program=$build/app/tallix ;;
    esac
    : >"$scratch/main" && : >"$scratch/others"
    for _ in $(seq "$runs"); do
      if [ "$path" = launcher ]; then
        set -- DESKTOP_STARTUP_ID="bench-$name-$$_TIME0"
      else
        set --
      fi
      count "$@" >"$scratch/one"
      cut -d' ' -f1 "$scratch/one" >>"$scratch/main"
      cut -d' ' -f2 "$scratch/one" >>"$scratch/others"
    done
    main=$(median <"$scratch/main")
    others=$(median <"$scratch/others")
    [ "$name" = bare-qt ] && bare=$main
    printf '| %s | %s | %s | %s | %s |\n' "$name" "$path" \
      "$(echo "$main" | awk '{ printf "%.2f M", $1 / 1e6 }')" \
      "$(echo "$main $bare" | awk '{ printf "%.3f", $1 / $2 }')" \
      "$(echo "$others" | awk '{ printf "%.2f M", $1 / 1e6 }')"
  done
done
