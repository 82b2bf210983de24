#!/usr/bin/env bash
# Crash suite: mutating commands on one store, each killed with SIGKILL at a
# random moment; after every round the store must be sound and hold exactly
# what the rounds so far imply (docs/reliability.md). Exits 1 on any
# failure, 2 on bad usage or a missing tool.
#
#   crash_suite.sh --bin DIR [--rounds N] [--seed N] [--max-delay-ms N]
#
# DIR holds tarvexcli and tarvex-host. Default: 200 rounds, each killed after
# up to one and a half times the time a command takes here (measured first).
# shellcheck disable=SC2034  # the states are read through namerefs (suite_lib.sh)
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/reliability/suite_lib.sh
source "$here/suite_lib.sh"

bin="" rounds=200 seed=$$ max_delay_ms=""
rely_options "--bin DIR [--rounds N] [--seed N] [--max-delay-ms N]" \
  bin rounds seed max-delay-ms -- "$@"
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
  local names=() key name
  for key in "${!expected[@]}"; do
    [[ "$key" == vol:crash-* && "${expected[$key]}" != absent ]] && names+=("${key#vol:}")
  done
  also_ok=""
  local pick=$((RANDOM % 7))
  ((${#names[@]} < 2)) && pick=0
  ((pick >= 2 && pick <= 4)) && name="${names[RANDOM % ${#names[@]}]}"
  case $pick in
    0 | 1)
      name="crash-$next_volume"
      next_volume=$((next_volume + 1))
      cmd=("$CLI" --store "$store" storage nfs add -H 192.0.2.10 -s "/share/$name" -v "$name")
      key="vol:$name" old=absent new=mounted also_ok=unmounted ;;
    2)
      cmd=("$CLI" --store "$store" storage nfs remove -v "$name")
      key="vol:$name" old="${expected[vol:$name]}" new=absent ;;
    3 | 4)
      key="vol:$name" old="${expected[vol:$name]}"
      if [[ $old == mounted ]]; then
        cmd=("$CLI" --store "$store" storage filesystem unmount -l "$name") new=unmounted
      else
        cmd=("$CLI" --store "$store" storage filesystem mount -l "$name") new=mounted
      fi ;;
    5)
      name="${kovra[RANDOM % ${#kovra[@]}]}"
      local priorities=(none low medium high)
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
  while read -r k have want; do
    lost=$((lost + 1))
    fail "state differs: $k is $have, expected $want"
    expected["$k"]="$have"  # report each difference once
  done < <(rely_differences expected actual)
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
