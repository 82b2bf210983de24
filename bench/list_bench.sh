#!/usr/bin/env bash
# Benchmark, not a test: times `tarvexcli storage filesystem list` (table and
# JSON) on hosts of 1k, 10k and 100k volumes against the sqlite3 shell
# selecting the same columns from the same store file, and prints per size
# the best of R runs, their ratio and the peak resident memory of each; then,
# for the largest size, each ratio and the peak memory a row above the
# smallest size against the bounds the project keeps (1.5x, 512 bytes).
#
# Usage: bench/list_bench.sh [BUILD_DIR]   (default: build)
#        SIZES="1000 10000" RUNS=5 bench/list_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/bench_lib.sh
source bench/bench_lib.sh
build=${1:-build}
bin=$build/bin
sizes=${SIZES:-"1000 10000 100000"}
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

query='SELECT w.mount_point AS "Mount Point", v.name AS "Volume Name", v.uuid AS "UUID",
  CASE w.mounted WHEN 1 THEN '"'"'true'"'"' ELSE '"'"'false'"'"' END AS "Mounted",
  v.type AS "Type", v.capacity AS "Size", v.capacity - v.used AS "Free"
  FROM volume_views w JOIN volumes v ON v.id = w.volume_id
  WHERE w.host_id = 1 AND w.discovered = 1 ORDER BY w.volume_id;'


printf '%-8s %-6s %10s %10s %7s %12s %12s\n' volumes format tarvexcli sqlite3 ratio "cli peak KiB" "sql peak KiB"
for n in $sizes; do
  store=$work/host-$n.db
  python3 bench/make_fixture.py "$n" >"$work/fixture-$n.json"
  "$bin/tarvex-host" --store "$store" init --fixture "$work/fixture-$n.json" >/dev/null
  for format in table json; do
    read -r ct cm < <(best_of "$bin/tarvexcli" --store "$store" --format "$format" storage filesystem list)
    read -r st sm < <(best_of sqlite3 -readonly "-$format" "$store" "$query")
    ratio=$(awk -v a="$ct" -v b="$st" 'BEGIN{ if (b > 0) printf "%.2f", a/b; else print "inf" }')
    printf '%-8s %-6s %10s %10s %7s %12s %12s\n' "$n" "$format" "$ct" "$st" "$ratio" "$cm" "$sm"
    echo "$n $format $ratio $cm" >>"$work/results"
  done
done

# The bounds, on the largest size: each ratio, and the peak memory a row
# above the smallest size's (what the rows cost, not the program).
echo
awk -v max_ratio=1.5 -v max_bytes=512 '
  { n[NR] = $1; f[NR] = $2; r[NR] = $3; m[NR] = $4
    if (small == "" || $1 < small) small = $1
    if ($1 > large) large = $1 }
  END {
    for (i = 1; i <= NR; i++) if (n[i] == small) base[f[i]] = m[i]
    for (i = 1; i <= NR; i++) {
      if (n[i] != large) continue
      printf "%s %s: ratio %s (bound %.1f) %s", large, f[i], r[i], max_ratio, (r[i] <= max_ratio ? "ok" : "OVER")
      if (large > small) {
        b = (m[i] - base[f[i]]) * 1024 / (large - small)
        printf "; %.0f bytes a row (bound %d) %s", b, max_bytes, (b <= max_bytes ? "ok" : "OVER")
      }
      printf "\n"
    }
  }' "$work/results"
