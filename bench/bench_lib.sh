# shellcheck shell=bash disable=SC2154,SC2034  # $runs and $work are the caller's; the caller reads what cluster_setup sets
# Sourced by the benchmarks: how they time a command and count what it
# executes. The caller sets $runs and $work (a scratch directory).

# best_of CMD...: prints "<seconds> <peak KiB>" of the fastest of $runs runs.
# Wall time comes from the shell's microsecond clock (time(1) rounds to
# hundredths); the peak resident memory from time(1).
best_of() {
  local best_t="" best_m="" start end t m
  for _ in $(seq "$runs"); do
    start=$EPOCHREALTIME
    /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null
    end=$EPOCHREALTIME
    read -r m <"$work/time"
    t=$(awk -v a="$start" -v b="$end" 'BEGIN{printf "%.4f", b - a}')
    if [ -z "$best_t" ] || awk -v a="$t" -v b="$best_t" 'BEGIN{exit !(a<b)}'; then
      best_t=$t best_m=$m
    fi
  done
  echo "$best_t $best_m"
}

# instructions CMD...: the instructions one run executes, from callgrind
# (repeatable where wall time on a shared machine is not).
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/.*Collected : //p'
}

# cluster_setup NAME BUILD_DIR: what the cluster benchmarks share. Sets
# $bin, $volumes, $hosts, $runs, $max_ratio (from VOLUMES, HOSTS, RUNS),
# $work (removed at exit), and $names (host-a,host-b,...) and $last, the
# last of them. Exits 2 when HOSTS is not 2 to 26.
cluster_setup() {
  bin=$2/bin
  volumes=${VOLUMES:-1000}
  hosts=${HOSTS:-16}
  runs=${RUNS:-10}
  max_ratio=1.5
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  if [ "$hosts" -lt 2 ] || [ "$hosts" -gt 26 ]; then
    echo "$1: HOSTS must be 2 to 26 (host-a to host-z), not $hosts" >&2
    exit 2
  fi
  names=$(printf 'host-%s\n' {a..z} | head -n "$hosts" | paste -sd,)
  last=${names##*,}
}

# verdict A B: "<A/B> (bound <max_ratio>) ok|OVER".
verdict() {
  awk -v a="$1" -v b="$2" -v max="$max_ratio" 'BEGIN {
    if (b <= 0) { printf "inf (bound %.1f) OVER", max; exit }
    r = a / b
    printf "%.2f (bound %.1f) %s", r, max, (r <= max ? "ok" : "OVER") }'
}
