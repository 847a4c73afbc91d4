#!/usr/bin/env bash
# Installs what is missing, builds the program and its help file (not the
# tests) and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tallix tallix_help
exec build/release/app/tallix
