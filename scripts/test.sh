#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite: the
# optimised build, the sanitizer build (ASan + UBSan, leaks checked), and the
# fuzz targets for a short, fixed number of runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

for preset in default sanitize fuzz; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  if [ "$preset" = fuzz ]; then
    cmake --build --preset fuzz --target fuzzers
    echo "== $preset runs"
    ctest --test-dir build-fuzz -L fuzz --output-on-failure
  else
    cmake --build --preset "$preset"
    echo "== $preset tests"
    ctest --preset "$preset"
  fi
done
