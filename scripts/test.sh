#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite headless:
# the release build, the Debian packages (scripts/package.sh), the engine
# and display suite on the portable arithmetic, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the headless suite
# cross-built for arm64 and run under qemu-user, a bounded run of each fuzz
# target, and a build (not a run) of the benchmarks, so they keep compiling.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen

# Warnings are errors here: a new one fails the run instead of scrolling by.
cmake --preset release -DTALLIX_WERROR=ON >/dev/null
cmake --build --preset release
ctest --preset release
# The release build is hardened as the packages are (cmake/TallixHardening.cmake).
scripts/hardening_check.sh build/release/app/tallix build/release/tools/tallix-keys >/dev/null

if [ "${TALLIX_QUICK:-0}" != 1 ]; then
  # The Debian packages, built twice in two folders (byte-identical), checked
  # by lintian, blhc, hardening-check and the AppStream tools. Their own test
  # step is off: the suite above has just run on the same sources.
  DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" scripts/package.sh build/deb
  # CI (a throw-away machine) installs them and runs their package tests.
  if [ "${CI:-}" = true ] || [ "${TALLIX_AUTOPKGTEST:-0}" = 1 ]; then
    autopkgtest -B build/deb/one/*.deb build/deb/one/tallix/ -- null
  fi

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
