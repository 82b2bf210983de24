#!/usr/bin/env bash
# Benchmark, not a test: what a cluster costs a host's listing. Makes one
# fixture of N volumes (bench/make_fixture.py's mix), a one-host store of it
# and a cluster of H hosts of it (host-a, host-b, ...: the Kovra volumes
# shared, each host with NAS and local volumes of its own), then times
# `tarvexcli storage filesystem list` (table and JSON) on the one host and on
# the cluster's last host, which sees the same N volumes. Prints per format
# the best of R runs of each, their peak resident memory and the ratio
# cluster/one-host against the bound the project keeps (1.5x); then the
# instructions one run of each executes (callgrind: repeatable where wall
# time on a shared machine is not), with the same ratio and bound. Exits 1
# when the two listings do not hold the same rows.
#
# Usage: bench/cluster_list_bench.sh [BUILD_DIR]   (default: build)
#        VOLUMES=1000 HOSTS=16 RUNS=10 bench/cluster_list_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/bench_lib.sh
source bench/bench_lib.sh
cluster_setup cluster_list_bench "${1:-build}"

python3 bench/make_fixture.py "$volumes" >"$work/fixture.json"
one=$work/one.db
cluster=$work/cluster.db
"$bin/tarvex-host" --store "$one" init --fixture "$work/fixture.json" >/dev/null
"$bin/tarvex-host" --store "$cluster" init --fixture "$work/fixture.json" --hosts "$names" >/dev/null

one_list=("$bin/tarvexcli" --store "$one")
cluster_list=("$bin/tarvexcli" --store "$cluster" --on-host "$last")

# The same volumes, or the comparison means nothing. The order may differ: a
# host lists by volume id, and the volumes a host has of its own were made
# after the shared ones.
"${one_list[@]}" storage filesystem list | sort >"$work/one.rows"
"${cluster_list[@]}" storage filesystem list | sort >"$work/cluster.rows"
if ! cmp -s "$work/one.rows" "$work/cluster.rows"; then
  echo "cluster_list_bench: $last of the cluster does not list the one host's volumes:" >&2
  diff "$work/one.rows" "$work/cluster.rows" | head -n 10 >&2
  exit 1
fi




echo "$volumes volumes; cluster of $hosts hosts, listed on $last; best of $runs runs"
printf '%-6s %10s %10s %13s %13s  %s\n' format one-host cluster "one peak KiB" "clu peak KiB" "ratio cluster/one-host"
for format in table json; do
  read -r ot om < <(best_of "${one_list[@]}" --format "$format" storage filesystem list)
  read -r ct cm < <(best_of "${cluster_list[@]}" --format "$format" storage filesystem list)
  printf '%-6s %10s %10s %13s %13s  %s\n' "$format" "$ot" "$ct" "$om" "$cm" "$(verdict "$ct" "$ot")"
done

echo
echo "instructions of one run (callgrind)"
printf '%-6s %14s %14s  %s\n' format one-host cluster "ratio cluster/one-host"
for format in table json; do
  oi=$(instructions "${one_list[@]}" --format "$format" storage filesystem list)
  ci=$(instructions "${cluster_list[@]}" --format "$format" storage filesystem list)
  printf '%-6s %14s %14s  %s\n' "$format" "$oi" "$ci" "$(verdict "$ci" "$oi")"
done
