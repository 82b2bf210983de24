#!/usr/bin/env bash
# Builds the coverage preset, runs its tests and prints the line and branch
# coverage of commands/ and plugin/, with the lines no test reaches.
# Usage: scripts/coverage.sh [ctest arguments, e.g. -R '^commands\.']
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset coverage >/dev/null
cmake --build --preset coverage -j2
# Counts from an earlier run would add up with this one's. The instrumented
# binaries' own complaints (a test that fills the disk keeps them from
# saving their counts) go to build-coverage/gcov-errors.log, not to the
# output the tests compare.
find build-coverage -name '*.gcda' -delete
rm -f build-coverage/gcov-errors.log
ctest --preset coverage "$@"

# Branches the compiler adds for exceptions and for code it cannot reach are
# left out: they are no decision of the code's own.
common=(--root . --object-directory build-coverage --exclude-directories 'build-coverage/CMakeFiles'
        --exclude-throw-branches --exclude-unreachable-branches)
echo "== lines of commands/ and plugin/ (uncovered lines under Missing)"
gcovr "${common[@]}" --filter 'commands/' --filter 'plugin/'
for dir in commands plugin; do
  echo "== $dir/: lines, then branches"
  gcovr "${common[@]}" --filter "$dir/" | grep '^TOTAL'
  gcovr "${common[@]}" --filter "$dir/" --branches | grep '^TOTAL'
done
