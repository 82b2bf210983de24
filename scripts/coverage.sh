#!/usr/bin/env bash
# Builds the coverage preset, runs its tests and prints the line and branch
# coverage of commands/ and plugin/, with the lines no test reaches.
# Usage: scripts/coverage.sh [ctest arguments, e.g. -R '^commands\.']
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset coverage >/dev/null
cmake --build --preset coverage -j2
# Counts from an earlier run would add up with this one's.
find build-coverage -name '*.gcda' -delete
ctest --preset coverage "$@"

# Branches the compiler adds for exceptions and for code it cannot reach are
# left out: they are no decision of the code's own.
filters=(--root . --object-directory build-coverage --filter 'commands/' --filter 'plugin/'
         --exclude-throw-branches --exclude-unreachable-branches)
echo "== lines (uncovered lines under Missing)"
gcovr "${filters[@]}"
echo "== branches"
gcovr "${filters[@]}" --branches | tail -n 3
