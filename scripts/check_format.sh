#!/usr/bin/env bash
# Checks that the C++ lines changed since a base commit follow .clang-format;
# lines nobody touched are left as they are. The base is the first argument,
# else $TALLIX_FORMAT_BASE, else where this branch left main (on main, the
# last commit). Without a base
# (a fresh checkout with no history, no main) the check says so and passes.
#
#   scripts/check_format.sh [BASE]
set -euo pipefail
cd "$(dirname "$0")/.."

if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "format check skipped: not a git checkout"
  exit 0
fi
base="${1:-${TALLIX_FORMAT_BASE:-}}"
if [ -z "$base" ]; then
  for branch in origin/main main; do
    if git rev-parse -q --verify "$branch^{commit}" >/dev/null; then
      base="$(git merge-base HEAD "$branch" 2>/dev/null || true)"
      break
    fi
  done
fi
# On main itself (as CI checks it) the branch point is HEAD: check the last
# commit's lines instead, which for a merge are those of the merged branch.
if [ -n "$base" ] && [ "$(git rev-parse "$base")" = "$(git rev-parse HEAD)" ]; then
  base="$(git rev-parse -q --verify 'HEAD^' || true)"
fi
if [ -z "$base" ] || ! git rev-parse -q --verify "$base^{commit}" >/dev/null; then
  echo "format check skipped: no base commit to compare with (give one or set TALLIX_FORMAT_BASE)"
  exit 0
fi

# Rename-aware: a moved file is checked only on the lines that changed in it.
diff="$(git diff -M -U0 --no-color "$base" -- '*.cpp' '*.h' | clang-format-diff -p1 -binary clang-format)"
case "$diff" in
  "")
    echo "format check: lines changed since $(git rev-parse --short "$base") follow .clang-format"
    ;;
  *)
    echo "format check FAILED: lines changed since $(git rev-parse --short "$base") differ from .clang-format:"
    echo "$diff"
    exit 1
    ;;
esac
