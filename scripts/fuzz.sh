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
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}" "${targets[@]/#/replay_fuzz_}" </dev/null

work=build/fuzz
mkdir -p "$work/artifacts"

# The golden transcripts' key lines, translated into the byte language of
# fuzz/key_script.h, one seed per block: the block's "[separator C]" becomes a
# separator change, a control name clicks it (byte 0x80 + its index),
# paste:TEXT pastes, copy copies, separator:C changes the separator; any
# other token is typed as it stands. A separator other than "," or "." becomes
# the two-byte one of the table.
golden_seeds() {
  local out="$1" file n=0
  mkdir -p "$out"
  shopt -s nullglob
  for file in tests/golden/*.keys; do
    LC_ALL=C awk -v out="$out" -v base="$(basename "$file" .keys)" '
      function separator(c) { return "S" sprintf("%c", c == "," ? 1 : c == "." ? 8 : 6) }
      BEGIN {
        split("Button0 Button1 Button2 Button3 Button4 Button5 Button6 Button7 Button8 Button9 " \
              "VirguleButton ButtonNeg RetourArriereButton NombrePiButton NombrePhiButton " \
              "ButtonCancel AdditionButton SoustractionButton MultiplicationButton DivisionButton " \
              "PourcentageButton RacineCarreeButton PuissanceCarreeButton PuissanceCubeButton " \
              "ResultatButton ButtonToutesDecimales ButtonLimiterADeuxDecimales " \
              "ButtonLimiterAQuatreDecimales", names, " ")
        for (i = 1; i <= 28; i++) code[names[i]] = sprintf("%c", 127 + i)
        inBlock = 0; blocks = 0
      }
      /^\[separator / { sep = $2; sub(/\]$/, "", sep); seed = separator(sep); inBlock = 1; next }
      /^--/ {
        if (inBlock) { file = out "/golden-" base "-" (++blocks); printf "%s", seed > file; close(file) }
        inBlock = 0; next
      }
      !inBlock || /^#/ { next }
      {
        for (t = 1; t <= NF; t++) {
          tok = $t
          if (tok in code) seed = seed code[tok]
          else if (tok == "copy") seed = seed "C"
          else if (tok ~ /^paste:/) { p = substr(substr(tok, 7), 1, 255); seed = seed "P" sprintf("%c", length(p)) p }
          else if (tok ~ /^separator:/) seed = seed separator(substr(tok, 11))
          else { gsub(/[PVCBS]/, "", tok); seed = seed tok }
        }
      }' "$file"
    n=$((n + 1))
  done
  echo "golden seeds: $(ls "$out" | grep -c '^golden-') blocks from $n transcript file(s)"
}

status=0
for target in "${targets[@]}"; do
  corpus="$work/corpus/$target"
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  if [ "$target" = touches ]; then golden_seeds "$corpus"; fi
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
