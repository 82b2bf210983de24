# shellcheck shell=bash disable=SC2154  # $runs and $work are the caller's
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
