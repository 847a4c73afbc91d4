#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang) and runs each one for a
# bounded time on its corpus; fails on the first crash, hang or sanitizer
# report. The seeds are the committed ones (fuzz/corpus) plus the key lines
# of the golden transcripts. New inputs found on the way stay in
# build/fuzz/corpus; a crash input lands in build/fuzz/artifacts and reruns
# without libFuzzer: build/fuzz/fuzz/replay_fuzz_<target> <file>.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]     (default 30, all three)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then targets=(texte_en_nombre aller_retour touches); fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}" "${targets[@]/#/replay_fuzz_}" golden_seeds </dev/null

work=build/fuzz
mkdir -p "$work/artifacts"

status=0
for target in "${targets[@]}"; do
  corpus="$work/corpus/$target"
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  if [ "$target" = touches ]; then "$work/fuzz/golden_seeds" "$corpus" tests/golden/*.keys; fi
  log="$work/fuzz_$target.log"
  echo "== fuzz_$target: ${seconds}s"
  if "$work/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" "$corpus" \
       </dev/null >"$log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
  else
    status=1
    echo "fuzz_$target FAILED; last lines of $log:"
    tail -n 40 "$log"
  fi
done
exit "$status"
