#!/usr/bin/env bash
# Benchmark, not a test: W processes at once (default 8), each adding N NFS v3
# volumes (default 100) with names of its own to one store through
# `tarvexcli storage nfs add`; then checks that `storage nfs list` shows every
# added volume exactly once. For comparison, the same number of single-row
# inserts of a volume row and its host view, made by W parallel loops of N sqlite3
# processes on a copy of the same store (and listed by tarvexcli likewise).
# Prints both wall times, the wall time per volume, their ratio, the failures
# and the listing check; exits 1 when a write failed or a volume is missing or
# listed twice. sqlite3 keeps its own defaults (synchronous FULL: a sync per
# commit); the host's connections run with synchronous NORMAL.
#
# Usage: bench/nfs_write_bench.sh [BUILD_DIR]   (default: build)
#        WRITERS=4 PER_WRITER=50 bench/nfs_write_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin
writers=${WRITERS:-8}
per_writer=${PER_WRITER:-100}
total=$((writers * per_writer))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

store=$work/host.db
copy=$work/copy.db
"$bin/tarvex-host" --store "$store" init >/dev/null
cp "$store" "$copy"
touch "$work/fail-cli" "$work/fail-sql"

# add_loop W: N adds by tarvexcli; failures are appended to $work/fail-cli.
add_loop() {
  for i in $(seq "$per_writer"); do
    "$bin/tarvexcli" --store "$store" storage nfs add -H "192.0.2.$((100 + $1))" \
      -s "/exports/w$1/v$i" -v "bench-w$1-v$i" >/dev/null 2>>"$work/err-cli-$1" ||
      echo "bench-w$1-v$i" >>"$work/fail-cli"
  done
}

# insert_loop W: N single-row inserts by sqlite3, each row as the host writes
# a new, mounted NFS v3 volume; failures are appended to $work/fail-sql.
insert_loop() {
  for i in $(seq "$per_writer"); do
    uuid=$(printf '%08x-%08x' $((0xbe000000 + $1)) "$i")
    sqlite3 -cmd ".timeout 5000" "$copy" "BEGIN IMMEDIATE; INSERT INTO volumes(type, name, uuid,
      capacity, used, arrak, version, lvm_uuid,
      lock_mode, clustered_kadisk, unmap_granularity, unmap_priority, unmap_bandwidth,
      unmap_method, unmap_reserved, nfs_hosts, nfs_share, nfs_read_only, nfs_pe, nfs_hidden,
      nfs_strelnic, nfs_strelnic_param, nfs_queue_depth, nfs_boot_queue_depth, nfs_max_read,
      nfs_max_write, nfs_preunmount, nfs_security)
      VALUES ('NFS', 'bench-w$1-v$i', '$uuid',
      1099511627776, 0, 0, 6, '', 0, 0, 1048576, 'low', 0, 'priority', 0, '192.0.2.$((100 + $1))',
      '/exports/w$1/v$i', 0, 0, 0, '', '', 4294967295, 4294967295, 1048576, 1048576, 0, 0);
      INSERT INTO volume_views(host_id, volume_id, mount_point, mounted, persistent, discovered,
      busy, accessible) VALUES (1, last_insert_rowid(), '/kovra/volumes/$uuid', 1, 1, 1, 0, 1);
      COMMIT;" \
      >/dev/null 2>>"$work/err-sql-$1" || echo "bench-w$1-v$i" >>"$work/fail-sql"
  done
}

# timed LOOP: runs $writers copies of LOOP at once; prints the wall time in seconds.
timed() {
  local start end
  start=$(date +%s.%N)
  for w in $(seq "$writers"); do "$1" "$w" & done
  wait
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN{printf "%.2f", b - a}'
}

# listed_once STORE: how many of the bench volumes `nfs list` shows exactly once.
listed_once() {
  "$bin/tarvexcli" --store "$1" --format json storage nfs list |
    jq '[.[]."Volume Name" | select(startswith("bench-"))] | group_by(.) |
        map(select(length == 1)) | length'
}

cli_time=$(timed add_loop)
sql_time=$(timed insert_loop)
cli_failed=$(wc -l <"$work/fail-cli")
sql_failed=$(wc -l <"$work/fail-sql")
cli_listed=$(listed_once "$store")
sql_listed=$(listed_once "$copy")
ratio=$(awk -v a="$cli_time" -v b="$sql_time" 'BEGIN{ if (b > 0) printf "%.2f", a/b; else print "inf" }')

printf '%-9s %7s %8s %11s %7s %12s\n' writer volumes "wall (s)" "per add (ms)" failed "listed once"
for row in "tarvexcli $cli_time $cli_failed $cli_listed" "sqlite3 $sql_time $sql_failed $sql_listed"; do
  read -r name seconds failed listed <<<"$row"
  per_add=$(awk -v s="$seconds" -v n="$total" 'BEGIN{printf "%.1f", 1000 * s / n}')
  printf '%-9s %7s %8s %12s %7s %12s\n' "$name" "$total" "$seconds" "$per_add" "$failed" \
    "$listed/$total"
done
echo "ratio tarvexcli/sqlite3: $ratio"
if [ "$cli_failed" -ne 0 ] || [ "$sql_failed" -ne 0 ] || [ "$cli_listed" -ne "$total" ] ||
  [ "$sql_listed" -ne "$total" ]; then
  sort "$work"/err-* 2>/dev/null | uniq -c | sort -rn | head -5 >&2
  exit 1
fi
