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

hyperfine -N --warmup 5 --runs "$runs" --export-json "$work/times.json" \
  "$bin/tarvexcli storage nfs list" "sqlite3 $TARVEX_HOST_STORE 'select 1'" >/dev/null
python3 - "$work/times.json" <<'PY'
import json, sys
cli, sql = (r["mean"] for r in json.load(open(sys.argv[1]))["results"])
print(f"{'tarvexcli ms':>12} {'sqlite3 ms':>10} {'ratio':>6}")
print(f"{cli * 1e3:12.2f} {sql * 1e3:10.2f} {cli / sql:6.2f}")
print(f"start-up ratio {cli / sql:.2f} (bound 1.5) {'ok' if cli / sql <= 1.5 else 'OVER'}")
PY

# A dry run of the same read-only command: it writes nothing, so it dumps
# nothing, and should cost almost nothing more (bound 1.2).
hyperfine -N --warmup 5 --runs "$runs" --export-json "$work/dry.json" \
  "$bin/tarvexcli storage nfs list" "$bin/tarvexcli --dry-run storage nfs list" >/dev/null
python3 - "$work/dry.json" <<'PY'
import json, sys
plain, dry = (r["mean"] for r in json.load(open(sys.argv[1]))["results"])
print(f"{'plain ms':>12} {'dry run ms':>10} {'ratio':>6}")
print(f"{plain * 1e3:12.2f} {dry * 1e3:10.2f} {dry / plain:6.2f}")
print(f"dry-run ratio {dry / plain:.2f} (bound 1.2) {'ok' if dry / plain <= 1.2 else 'OVER'}")
PY

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
