#!/usr/bin/env bash
# Crash suite: runs mutating commands on one store and kills each with
# SIGKILL at a random moment. After every round the store must pass
# `PRAGMA integrity_check`; every command that reported success must still
# have its effect; a killed command must have changed all or nothing of what
# it changes in one step (an `nfs add` is several steps: add, then mount).
#
#   crash_suite.sh --bin DIR [--rounds N] [--seed N] [--max-delay-ms N]
#
# DIR holds tarvexcli and tarvex-host (a build's bin/). Default: 200 rounds;
# before each kill a random delay up to one and a half times the time a
# command takes on this machine (measured first), so that about half the
# commands die part-way and the others finish. Prints rounds, kills,
# integrity failures, lost effects and torn changes; exits 1 on any failure,
# 2 on bad usage or a missing tool.
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/reliability/suite_lib.sh
source "$here/suite_lib.sh"

bin="" rounds=200 seed=$$ max_delay_ms=""
while (($#)); do
  case "$1" in
    --bin) bin="$2" ;;
    --rounds) rounds="$2" ;;
    --seed) seed="$2" ;;
    --max-delay-ms) max_delay_ms="$2" ;;
    *) echo "usage: $0 --bin DIR [--rounds N] [--seed N] [--max-delay-ms N]" >&2; exit 2 ;;
  esac
  shift 2 || { echo "error: $1 needs a value" >&2; exit 2; }
done
[[ -n "$bin" ]] || { echo "usage: $0 --bin DIR [--rounds N] [--seed N]" >&2; exit 2; }
rely_init_tools "$bin"
RANDOM=$seed

work="$(mktemp -d "${TMPDIR:-/tmp}/crash_suite.XXXXXX")"
store="$work/host.db"
kovra=(kv-0 kv-1)
features=(2000 2001)
rely_fixture "${kovra[@]}" > "$work/fixture.json"
"$HOST_TOOL" --store "$store" init --fixture "$work/fixture.json" || exit 2

# The mean time of one mutating command, in ms, on a copy of the store.
command_ms() {
  local copy="$work/calibrate.db" start i
  cp "$store" "$copy"
  start=$(date +%s%N)
  for ((i = 0; i < 5; i++)); do
    "$CLI" --store "$copy" storage nfs add -H 192.0.2.10 -s /c -v "c$i" > /dev/null
    "$CLI" --store "$copy" storage nfs remove -v "c$i" > /dev/null
  done
  echo $((($(date +%s%N) - start) / 10000000))
}
if [[ -z "$max_delay_ms" ]]; then
  max_delay_ms=$(($(command_ms) * 3 / 2))
  ((max_delay_ms < 2)) && max_delay_ms=2
fi

declare -A expected actual
rely_load_state expected "$store"
next_volume=0
kills=0 completed=0 refused=0 integrity_failures=0 lost=0 torn=0

# Chooses the next command from what the expected state allows: sets cmd
# (the command line), key, old, new (the key's value before and after) and
# also_ok (values a killed run may leave besides old and new).
choose() {
  local mounted=() unmounted=() key
  for key in "${!expected[@]}"; do
    [[ "$key" == vol:crash-* ]] || continue
    case "${expected[$key]}" in
      mounted) mounted+=("${key#vol:}") ;;
      unmounted) unmounted+=("${key#vol:}") ;;
    esac
  done
  also_ok=""
  local pick=$((RANDOM % 7))
  ((${#mounted[@]} + ${#unmounted[@]} < 2)) && pick=0
  case $pick in
    0 | 1)
      local name="crash-$next_volume"
      next_volume=$((next_volume + 1))
      cmd=("$CLI" --store "$store" storage nfs add -H 192.0.2.10 -s "/share/$name" -v "$name")
      key="vol:$name" old=absent new=mounted also_ok=unmounted ;;
    2)
      local all=("${mounted[@]}" "${unmounted[@]}")
      local name="${all[RANDOM % ${#all[@]}]}"
      cmd=("$CLI" --store "$store" storage nfs remove -v "$name")
      key="vol:$name" old="${expected[vol:$name]}" new=absent ;;
    3)
      if ((${#mounted[@]} == 0)); then choose; return; fi
      local name="${mounted[RANDOM % ${#mounted[@]}]}"
      cmd=("$CLI" --store "$store" storage filesystem unmount -l "$name")
      key="vol:$name" old=mounted new=unmounted ;;
    4)
      if ((${#unmounted[@]} == 0)); then choose; return; fi
      local name="${unmounted[RANDOM % ${#unmounted[@]}]}"
      cmd=("$CLI" --store "$store" storage filesystem mount -l "$name")
      key="vol:$name" old=unmounted new=mounted ;;
    5)
      local name="${kovra[RANDOM % ${#kovra[@]}]}" priorities=(none low medium high)
      local granularity=$(((RANDOM % 64 + 1) * 1048576)) priority="${priorities[RANDOM % 4]}"
      cmd=("$CLI" --store "$store" storage kovra reclaim config set -l "$name"
        -g "$granularity" -p "$priority")
      key="reclaim:$name" old="${expected[reclaim:$name]}" new="$granularity/$priority"
      if ((RANDOM % 2)); then
        local lock_name="${kovra[RANDOM % ${#kovra[@]}]}"
        if [[ "${expected[lock:$lock_name]}" == 16 ]]; then
          cmd=("$CLI" --store "$store" storage kovra lockmode set -s -l "$lock_name") new=0
        else
          cmd=("$CLI" --store "$store" storage kovra lockmode set -a -l "$lock_name") new=16
        fi
        key="lock:$lock_name" old="${expected[lock:$lock_name]}"
      fi ;;
    6)
      local number="${features[RANDOM % ${#features[@]}]}"
      key="feature:$number" old="$(rely_value expected "$key")"
      if [[ "$old" == true ]]; then new=false; else new=true; fi
      cmd=("$HOST_TOOL" --store "$store" feature set "$number" "$([[ $new == true ]] && echo on || echo off)") ;;
  esac
  chosen_key="$key"
}

fail() {
  echo "round $round: $*"
  failed=1
}

failed=0
started=$(date +%s%N)
for ((round = 1; round <= rounds; round++)); do
  choose
  key="$chosen_key"
  delay_ms=$((RANDOM % (max_delay_ms + 1)))
  "${cmd[@]}" > "$work/out" 2> "$work/err" &
  pid=$!
  sleep "$((delay_ms / 1000)).$(printf '%03d' $((delay_ms % 1000)))"
  kill -KILL "$pid" 2> /dev/null
  { wait "$pid"; } 2> /dev/null  # no "Killed" notice
  status=$?

  integrity="$(rely_integrity "$store")"
  if [[ "$integrity" != ok ]]; then
    integrity_failures=$((integrity_failures + 1))
    fail "integrity_check after ${cmd[*]:3}: $integrity"
  fi
  rely_load_state actual "$store"
  now="$(rely_value actual "$key")"
  if ((status == 128 + 9)); then
    kills=$((kills + 1))
    if [[ "$now" != "$old" && "$now" != "$new" && "$now" != "$also_ok" ]]; then
      torn=$((torn + 1))
      fail "killed '${cmd[*]:3}' left $key=$now (expected $old or $new)"
    fi
    expected["$key"]="$now"  # either is right; later rounds build on what is there
  elif ((status == 0)); then
    completed=$((completed + 1))
    expected["$key"]="$new"
  else
    refused=$((refused + 1))
    fail "'${cmd[*]:3}' failed with status $status: $(head -c 300 "$work/err")"
    expected["$key"]="$now"
  fi
  # The whole state must be what the rounds so far imply: nothing lost,
  # nothing that no command made.
  for k in $(printf '%s\n' "${!expected[@]}" "${!actual[@]}" | sort -u); do
    [[ "$(rely_value actual "$k")" == "$(rely_value expected "$k")" ]] && continue
    lost=$((lost + 1))
    fail "state differs: $k is $(rely_value actual "$k"), expected $(rely_value expected "$k")"
    expected["$k"]="$(rely_value actual "$k")"  # report each difference once
  done
done
elapsed_ms=$((($(date +%s%N) - started) / 1000000))

echo "crash suite: $rounds rounds (seed $seed, kills after 0 to $max_delay_ms ms)," \
  "$kills killed, $completed completed, $refused failed commands"
echo "integrity failures: $integrity_failures, lost or unexplained effects: $lost, torn changes: $torn" \
  "($((elapsed_ms / 1000)).$((elapsed_ms % 1000 / 100)) s)"
if ((failed)); then
  echo "store kept for inspection: $store"
  exit 1
fi
rm -rf "$work"
