#!/usr/bin/env bash
# Benchmark, not a test: start-up cost of a read-only command. Times
# `tarvexcli storage nfs list` on the default host (a private store made on
# first use) against `sqlite3 STORE 'select 1'` on the same file, with
# hyperfine, and prints both means and their ratio; then the same listing
# with --dry-run against it without. With COUNT=1 it also
# prints what one listing does to the store: files opened, file locks taken
# and writes made (strace), and the instructions each command runs
# (callgrind: repeatable where wall time is noisy).
#
# Usage: bench/startup_bench.sh [BUILD_DIR]   (default: build)
#        RUNS=100 COUNT=1 bench/startup_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/bench_lib.sh
source bench/bench_lib.sh
build=${1:-build}
bin=$build/bin
runs=${RUNS:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export TARVEX_HOST_STORE=$work/host.db
"$bin/tarvexcli" storage nfs list >/dev/null  # makes the default host's store

# compare NAME BOUND CMD_A CMD_B: the mean of each (hyperfine) and B/A
# against BOUND.
compare() {
  hyperfine -N --warmup 5 --runs "$runs" --export-json "$work/$1.json" "$3" "$4" >/dev/null
  python3 - "$work/$1.json" "$1" "$2" <<'PY'
import json, sys
a, b = (r["mean"] for r in json.load(open(sys.argv[1]))["results"])
name, bound = sys.argv[2], float(sys.argv[3])
print(f"{'first ms':>12} {'second ms':>10} {'ratio':>6}")
print(f"{a * 1e3:12.2f} {b * 1e3:10.2f} {b / a:6.2f}")
print(f"{name} ratio {b / a:.2f} (bound {bound}) {'ok' if b / a <= bound else 'OVER'}")
PY
}

# tarvexcli against sqlite3 opening the same store (start-up, bound 1.5).
compare start-up 1.5 "sqlite3 $TARVEX_HOST_STORE 'select 1'" "$bin/tarvexcli storage nfs list"
# A dry run of the same read-only command: it writes nothing, so it dumps
# nothing, and should cost almost nothing more (bound 1.2).
compare dry-run 1.2 "$bin/tarvexcli storage nfs list" "$bin/tarvexcli --dry-run storage nfs list"

if [ "${COUNT:-0}" = 1 ]; then
  strace -f -o "$work/trace" -e trace=openat,fcntl,pwrite64,ftruncate,unlink,fsync,fdatasync \
    "$bin/tarvexcli" storage nfs list >/dev/null
  store_calls() { grep -F "$TARVEX_HOST_STORE" "$work/trace" | grep -c "$1" || true; }
  echo "store files opened: $(store_calls openat)"
  echo "locks taken:        $(grep -c 'F_SETLK.*l_type=F_\(RD\|WR\)LCK' "$work/trace" || true)"
  echo "writes:             $(grep -c '^[0-9]* *\(pwrite64\|ftruncate\|fsync\|fdatasync\)' "$work/trace" || true)"
  echo "instructions:       $(instructions "$bin/tarvexcli" storage nfs list)" \
    "(sqlite3: $(instructions sqlite3 "$TARVEX_HOST_STORE" 'select 1'))"
fi
