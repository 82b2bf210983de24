#!/usr/bin/env bash
# Benchmark, not a test: what a cluster costs the changes that reach across
# its hosts. Makes one fixture of N volumes (bench/make_fixture.py's mix),
# a one-host store of it and a cluster of H hosts of it (host-a, host-b,
# ...), then times, on a fresh copy of each store per run:
#   lockmode  `tarvexcli storage kovra lockmode set --ats` on a Kovra-6
#             volume every host has mounted (on the cluster the others
#             still use ATS+SCSI, so the upgrade is recorded as pending);
#   detach    `tarvex-host device detach` of a device whose volumes no host
#             has mounted, from every host (on the cluster, each of its
#             hosts forgets those volumes);
#   detach1   the same from one host: `--on-host` the cluster's last host.
# Prints per change the best of R runs on each store and the ratio
# cluster/one-host against the bound the project keeps (1.5x); then the
# instructions one run of each executes (callgrind). Exits 1 when a change
# does not do on the cluster what it does on the one host.
#
# Usage: bench/cluster_change_bench.sh [BUILD_DIR]   (default: build)
#        VOLUMES=1000 HOSTS=16 RUNS=10 bench/cluster_change_bench.sh
#        CHECK_MODES=0 bench/cluster_change_bench.sh OLD_BUILD   (a build from
#        before a lock-mode change completed at once on one host)
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=bench/bench_lib.sh
source bench/bench_lib.sh
cluster_setup cluster_change_bench "${1:-build}"
volume=vol-000002                # Kovra-6, on device 2
device=naa.6027a3e3001d0005      # its volumes are unmounted below

# The one host has a MAC address too, so that its slots follow its mounts
# as the cluster's do; the lock-mode listing reads the online-upgrade option.
python3 bench/make_fixture.py "$volumes" |
  jq --arg d "$device" '.mac = "02:7a:3e:00:00:01"
    | .advanced_options = [{group: "Kovra3", name: "EnableOnlineATSUpgrade", type: "integer", value: 1}]
    | .volumes |= map(if .type == "Kovra" and .kovra.extents[0].device == $d
                      then .mounted = false else . end)' >"$work/fixture.json"
one=$work/one.db
cluster=$work/cluster.db
"$bin/tarvex-host" --store "$one" init --fixture "$work/fixture.json" >/dev/null
"$bin/tarvex-host" --store "$cluster" init --fixture "$work/fixture.json" --hosts "$names" >/dev/null

lockmode=("$bin/tarvexcli" --store "$work/run.db" storage kovra lockmode set --ats -l "$volume")
detach=("$bin/tarvex-host" --store "$work/run.db" device detach "$device")
detach1=("$bin/tarvex-host" --store "$work/run.db" --on-host "$last" device detach "$device")

# on_copy STORE CMD...: runs CMD against a fresh copy of STORE at $work/run.db.
on_copy() {
  local store=$1
  shift
  cp "$store" "$work/run.db"
  rm -f "$work/run.db-journal" "$work/run.db-wal"
  "$@"
}

# best_on_copy STORE CMD...: "<seconds>" of the fastest of $runs runs, each
# on a fresh copy (the copy is not timed).
best_on_copy() {
  local store=$1 best="" t
  shift
  for _ in $(seq "$runs"); do
    cp "$store" "$work/run.db"
    read -r t _ < <(runs=1 best_of "$@")
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$t; fi
  done
  echo "$best"
}


one_lock=("${lockmode[@]}")
clu_lock=("$bin/tarvexcli" --store "$work/run.db" --on-host "$last" storage kovra lockmode set --ats -l "$volume")

# The changes must do what they do on the one host: the volume ATS-only
# there, its upgrade pending on the cluster; the device's volumes gone from
# every host's listing.
mode() {
  "$bin/tarvexcli" --store "$work/run.db" "$@" storage kovra lockmode list -l "$volume" \
    --format csv --fields "locking mode" | tail -n 1 | tr -d '\r'
}
on_copy "$one" "${one_lock[@]}" >/dev/null
one_mode=$(mode)
on_copy "$cluster" "${clu_lock[@]}" >/dev/null
clu_mode=$(mode --on-host host-a)
if [ "${CHECK_MODES:-1}" = 1 ] && { [ "$one_mode" != ATS ] || [ "$clu_mode" != "ATS UPGRADE PENDING" ]; }; then
  echo "cluster_change_bench: lockmode set gave '$one_mode' on one host, '$clu_mode' on the cluster" >&2
  exit 1
fi
on_device=$(jq --arg d "$device" '[.volumes[] | select(.kovra.extents[0].device? == $d)] | length' \
  "$work/fixture.json")
for where in "" "--on-host host-a" "--on-host $last"; do
  store=$one
  [ -n "$where" ] && store=$cluster
  on_copy "$store" "${detach[@]}"
  # shellcheck disable=SC2086  # $where is empty or two words
  left=$("$bin/tarvexcli" --store "$work/run.db" $where storage filesystem list |
    awk 'END { print NR }')
  # shellcheck disable=SC2086
  full=$("$bin/tarvexcli" --store "$store" $where storage filesystem list | awk 'END { print NR }')
  if [ $((full - left)) != "$on_device" ]; then
    echo "cluster_change_bench: ${where:-the one host} lists $left rows after the detach," \
      "$full before; $on_device volumes are on $device" >&2
    exit 1
  fi
done

echo "$volumes volumes; cluster of $hosts hosts, changed on $last; best of $runs runs, each on a fresh copy"
printf '%-9s %10s %10s  %s\n' change one-host cluster "ratio cluster/one-host"
ot=$(best_on_copy "$one" "${one_lock[@]}")
ct=$(best_on_copy "$cluster" "${clu_lock[@]}")
printf '%-9s %10s %10s  %s\n' lockmode "$ot" "$ct" "$(verdict "$ct" "$ot")"
ot=$(best_on_copy "$one" "${detach[@]}")
ct=$(best_on_copy "$cluster" "${detach[@]}")
printf '%-9s %10s %10s  %s\n' detach "$ot" "$ct" "$(verdict "$ct" "$ot")"
ct=$(best_on_copy "$cluster" "${detach1[@]}")
printf '%-9s %10s %10s  %s\n' detach1 "$ot" "$ct" "$(verdict "$ct" "$ot")"

echo
echo "instructions of one run (callgrind)"
printf '%-9s %14s %14s  %s\n' change one-host cluster "ratio cluster/one-host"
cp "$one" "$work/run.db"
oi=$(instructions "${one_lock[@]}")
cp "$cluster" "$work/run.db"
ci=$(instructions "${clu_lock[@]}")
printf '%-9s %14s %14s  %s\n' lockmode "$oi" "$ci" "$(verdict "$ci" "$oi")"
cp "$one" "$work/run.db"
oi=$(instructions "${detach[@]}")
cp "$cluster" "$work/run.db"
ci=$(instructions "${detach[@]}")
printf '%-9s %14s %14s  %s\n' detach "$oi" "$ci" "$(verdict "$ci" "$oi")"
cp "$cluster" "$work/run.db"
ci=$(instructions "${detach1[@]}")
printf '%-9s %14s %14s  %s\n' detach1 "$oi" "$ci" "$(verdict "$ci" "$oi")"
