#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless:
# the release build, the engine and display suite on the portable
# arithmetic, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the headless suite cross-built for arm64 and run
# under qemu-user, a bounded run of each fuzz target, and a build (not a run)
# of the benchmarks, so they keep compiling.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen

# Warnings are errors here: a new one fails the run instead of scrolling by.
cmake --preset release -DTALLIX_WERROR=ON >/dev/null
cmake --build --preset release
ctest --preset release

if [ "${TALLIX_QUICK:-0}" != 1 ]; then
  # The same logic on the portable arithmetic (software on GNU MPFR), as on
  # processors without the x87 unit; the release run above compared the two.
  cmake --preset portable -DTALLIX_WERROR=ON >/dev/null
  cmake --build --preset portable
  ctest --preset portable

  cmake --preset asan -DTALLIX_WERROR=ON >/dev/null
  cmake --build --preset asan
  ctest --preset asan

  # The engine, the display logic, tallix-keys and their tests cross-built
  # for arm64 and run under qemu-user.
  cmake --preset arm64 -DTALLIX_WERROR=ON >/dev/null
  cmake --build --preset arm64
  ctest --preset arm64

  scripts/fuzz.sh "${TALLIX_FUZZ_SECONDS:-30}"

  cmake --preset bench -DTALLIX_WERROR=ON >/dev/null
  cmake --build --preset bench
fi
echo "All Tallix tests passed."
