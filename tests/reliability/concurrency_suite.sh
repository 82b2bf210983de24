#!/usr/bin/env bash
# Concurrency suite: several processes race for the same few names, then run
# mixed mutating commands on one store at once, each on objects of its own;
# afterwards each name went to one of them, an armed fault counted every
# `nfs add`, the store is sound and holds exactly what the commands that
# reported success imply, and no other command failed, in particular none
# found the store locked; last, the hosts of a cluster race to mount one
# Kovra volume and each must get a heartbeat slot of its own
# (docs/reliability.md). With --hosts N the store is a cluster of N hosts:
# the workers are spread over them, race to resignature the same snapshots,
# then also mount, unmount and switch the locking mode of shared Kovra
# volumes at once, and the cluster's invariants must hold afterwards. Exits
# 1 on any failure, 2 on bad usage or a missing tool.
#
#   concurrency_suite.sh --bin DIR [--workers N] [--ops N] [--seed N] [--hosts N]
#
# DIR holds tarvexcli and tarvex-host. Default: 8 workers of 100 commands on
# one host.
# shellcheck disable=SC2034  # the states are read through namerefs (suite_lib.sh)
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/reliability/suite_lib.sh
source "$here/suite_lib.sh"

bin="" workers=8 ops=100 seed=$$ hosts=1
rely_options "--bin DIR [--workers N] [--ops N] [--seed N] [--hosts N]" \
  bin workers ops seed hosts -- "$@"

work="$(mktemp -d "${TMPDIR:-/tmp}/concurrency_suite.XXXXXX")"
store="$work/host.db"
kovra=()
for ((w = 0; w < workers; w++)); do kovra+=("kv-$w"); done
contested=(shared-0 shared-1 shared-2 shared-3 shared-4)
# In a cluster, worker W runs on host W % N and races the workers of the
# other hosts on kvs-(W / N); every worker races for the snapshots.
san=() labels=() spread=$((${#HOSTS[@]} ? ${#HOSTS[@]} : 1))
if ((${#HOSTS[@]})); then
  for ((w = 0; w < workers; w += spread)); do san+=("kvs-$((w / spread))"); done
  labels=(snap-0 snap-1 snap-2)
fi
# A fault that never fires (its Nth call never comes) counts the calls.
RELY_SNAPSHOTS=${#labels[@]} rely_fixture "${kovra[@]}" "${san[@]}" |
  jq '.faults = [{operation: "AddNetworkFileSystem", message: "never", nth: 1000000000}]' \
  > "$work/fixture.json"
rely_init "$store" "$work/fixture.json" || exit 2
failed=0
# Each worker's own Kovra volume is mounted on its host alone, so that a
# locking-mode change there completes at once.
for ((w = 0; w < workers && ${#HOSTS[@]}; w++)); do
  for host in "${HOSTS[@]}"; do
    [[ "$host" == "${HOSTS[w % spread]}" ]] ||
      "$CLI" --store "$store" --on-host "$host" storage filesystem unmount -l "kv-$w" > /dev/null ||
      exit 2
  done
done

# resignature W: worker W resignatures each snapshot of $labels, as every
# other worker does at once; W.resig lists those it got, W.lost the refusals
# of the others. A snapshot another worker got first must be refused as
# such: while W resolved it, or when W looked for it.
resignature() {
  local w="$1" label
  rely_on "${HOSTS[w % spread]}"
  : > "$work/$w.resig"
  : > "$work/$w.lost"
  : > "$work/$w-resig.err"
  for label in "${labels[@]}"; do
    if "$CLI" --store "$store" "${ON[@]}" storage kovra snapshot resignature -l "$label" \
      > /dev/null 2> "$work/$w.last"; then
      echo "$label" >> "$work/$w.resig"
    elif ! grep -x -e "The snapshot '$label' (.*) is no longer unresolved" \
      -e "No unresolved Kovra snapshots with volume label '$label' found." "$work/$w.last" \
      >> "$work/$w.lost"; then
      { echo "== ${ON[*]} snapshot resignature -l $label"; cat "$work/$w.last"; } \
        >> "$work/$w-resig.err"
    fi
  done
}

# worker W: tries to add every contested name (W.won lists those it got),
# then runs $ops commands on W's own objects, and in a cluster on its shared
# Kovra volume. Writes "ok KEY VALUE [KEY VALUE]" or "failed KEY STATUS" per
# command to $work/W.log, each failure's standard error, after a
# "== command" line, to $work/W.err, and the number of `nfs add` it ran to
# W.adds.
worker() {
  local w="$1" i key value also status name pick shared shared_mounted=1
  RANDOM=$((seed * 100 + w))
  declare -A mine=()  # volume name -> "nfs" or "nfs41"
  declare -A mounted=()
  local next=0 lock=0 feature=false
  rely_on "${HOSTS[w % spread]:-}"
  shared="${san[w / spread]:-}"
  : > "$work/$w.log"
  : > "$work/$w.err"
  : > "$work/$w.won"
  local adds=${#contested[@]}
  for name in "${contested[@]}"; do
    if "$CLI" --store "$store" "${ON[@]}" storage nfs add -H 192.0.2.10 -s /shared -v "$name" \
      > /dev/null 2> "$work/$w.last"; then
      echo "$name$AT" >> "$work/$w.won"
    elif ! grep -q "the name is already used by another volume" "$work/$w.last"; then
      { echo "== nfs add -v $name"; cat "$work/$w.last"; } >> "$work/$w.err"
    fi
  done
  for ((i = 0; i < ops; i++)); do
    local names=("${!mine[@]}")
    pick=$((RANDOM % (${#HOSTS[@]} ? 10 : 8))) also=""
    ((${#names[@]} < 2)) && pick=$((RANDOM % 2))
    case $pick in
      0 | 1)
        name="w$w-$next" next=$((next + 1))
        local kind=nfs
        ((pick == 1)) && kind=nfs41
        cmd=("$CLI" --store "$store" storage "$kind" add -H 192.0.2.10 -s "/w$w/$name" -v "$name")
        [[ $kind == nfs ]] && adds=$((adds + 1))
        key="vol:$name$AT" value=mounted ;;
      2)
        name="${names[RANDOM % ${#names[@]}]}"
        cmd=("$CLI" --store "$store" storage "${mine[$name]}" remove -v "$name")
        key="vol:$name$AT" value=absent ;;
      3 | 4)
        name="${names[RANDOM % ${#names[@]}]}"
        if [[ "${mounted[$name]}" == 1 ]]; then
          cmd=("$CLI" --store "$store" storage filesystem unmount -l "$name") value=unmounted
        else
          cmd=("$CLI" --store "$store" storage filesystem mount -l "$name") value=mounted
        fi
        key="vol:$name$AT" ;;
      5)
        local priorities=(none low medium high)
        local granularity=$(((RANDOM % 64 + 1) * 1048576)) priority="${priorities[RANDOM % 4]}"
        cmd=("$CLI" --store "$store" storage kovra reclaim config set -l "kv-$w"
          -g "$granularity" -p "$priority")
        key="reclaim:kv-$w" value="$granularity/$priority" ;;
      6)
        if ((lock == 16)); then value=0 flag=-s; else value=16 flag=-a; fi
        cmd=("$CLI" --store "$store" storage kovra lockmode set "$flag" -l "kv-$w")
        key="lock:kv-$w"
        # Its host's slot, the only one, moves at once.
        ((${#HOSTS[@]})) && also="slot:kv-$w$AT alive/$((value ? 4 : 0))" ;;
      7)
        if [[ "$feature" == true ]]; then value=false; else value=true; fi
        cmd=("$HOST_TOOL" --store "$store" feature set "$((1000 + w))"
          "$([[ $value == true ]] && echo on || echo off)")
        key="feature:$((1000 + w))$AT" ;;
      8 | 9)
        # Where the locking mode of the shared volume ends depends on the
        # other hosts: the invariants judge it.
        if ((RANDOM % 3 == 0)); then
          flag=-a
          ((RANDOM % 2)) && flag=-s
          cmd=("$CLI" --store "$store" storage kovra lockmode set "$flag" -l "$shared")
          key="lock:$shared" value=unknown
        elif ((shared_mounted)); then
          cmd=("$CLI" --store "$store" storage filesystem unmount -l "$shared")
          key="vol:$shared$AT" value=unmounted
        else
          cmd=("$CLI" --store "$store" storage filesystem mount -l "$shared")
          key="vol:$shared$AT" value=mounted
        fi ;;
    esac
    cmd+=("${ON[@]}")
    "${cmd[@]}" > /dev/null 2> "$work/$w.last"
    status=$?
    if ((status != 0)); then
      echo "failed $key $status" >> "$work/$w.log"
      { echo "== ${cmd[*]:3}"; cat "$work/$w.last"; } >> "$work/$w.err"
      continue
    fi
    echo "ok $key $value $also" >> "$work/$w.log"
    case "$key:$value" in
      "vol:$shared$AT:"*) shared_mounted=$([[ $value == mounted ]] && echo 1 || echo 0) ;;
      vol:*:mounted) mine[$name]="${mine[$name]:-$kind}" mounted[$name]=1 ;;
      vol:*:unmounted) mounted[$name]=0 ;;
      vol:*:absent) unset "mine[$name]" "mounted[$name]" ;;
      "lock:kv-$w:"*) lock=$value ;;
      feature:*) feature=$value ;;
    esac
  done
  echo "$adds" > "$work/$w.adds"
}

if ((${#labels[@]})); then
  for ((w = 0; w < workers; w++)); do resignature "$w" & done
  wait
  for label in "${labels[@]}"; do
    winners=$(cat "$work"/*.resig | grep -c -x -e "$label")
    ((winners == 1)) || { echo "snapshot $label was resignatured by $winners workers"; failed=1; }
  done
  echo "snapshot races: $workers workers resignatured ${labels[*]} at once;" \
    "$(cat "$work"/*.resig | wc -l) got one, refused as gone while resolving" \
    "$(cat "$work"/*.lost | grep -c 'no longer'), when looking $(cat "$work"/*.lost | grep -c ^No)"
fi

declare -A expected actual
rely_load_state expected "$store"
for key in "${!expected[@]}"; do
  [[ "$key" == slot:kvs-* ]] && expected["$key"]=unknown
done
started=$(date +%s%N)
pids=()
for ((w = 0; w < workers; w++)); do
  worker "$w" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
elapsed_ms=$((($(date +%s%N) - started) / 1000000))

operations=0 succeeded=0
while read -r outcome key value also_key also_value; do
  operations=$((operations + 1))
  if [[ "$outcome" == ok ]]; then
    succeeded=$((succeeded + 1))
    expected["$key"]="$value"  # each key belongs to one worker: its log is in order
    [[ -n "$also_key" ]] && expected["$also_key"]="$also_value"
  else
    expected["$key"]="unknown"
  fi
done < <(for ((w = 0; w < workers; w++)); do cat "$work/$w.log"; done)

echo "concurrency suite: $workers workers x $ops commands (seed $seed):" \
  "$operations operations, $succeeded succeeded, $((operations - succeeded)) failed," \
  "wall time $((elapsed_ms / 1000)).$((elapsed_ms % 1000 / 100)) s"
if ((operations != workers * ops)); then
  echo "only $operations of $((workers * ops)) commands were logged"
  failed=1
fi
# A NAS volume's name is its host's: each host with workers gives each
# name to one of them.
ats=("")
((${#HOSTS[@]})) && mapfile -t ats < <(printf '@%s\n' "${HOSTS[@]}" | head -n "$workers")
for name in "${contested[@]}"; do
  for at in "${ats[@]}"; do
    winners=$(cat "$work"/*.won | grep -c -x -e "$name$at")
    expected["vol:$name$at"]=mounted
    ((winners == 1)) && continue
    echo "$name$at was given to $winners workers"
    failed=1
  done
done
adds=$(($(cat "$work"/*.adds | paste -sd+)))
calls=$("$HOST_TOOL" --store "$store" dump | jq '[., .hosts[]?] | map(.faults[0].calls) | add')
if ((calls != adds)); then
  echo "the fault counted $calls calls of $adds nfs adds"
  failed=1
fi
# Hosts of one SAN race to unmount, then to mount, one Kovra volume, a few
# rounds: each failure goes to HOST.err; after each race the volume has one
# slot per host (none after an unmount), at offsets all different, and the
# cluster's invariants hold. At most 64 hosts: a volume has 64 slots.
cluster="$work/cluster.db" shared=ds-prod-01
mapfile -t racers < <(printf 'host-%s\n' {a..z} {a..z}{a..z} |
  head -n $((workers < 4 ? 4 : workers < 64 ? workers : 64)))
rely_fixture "$shared" > "$work/cluster.json"
"$HOST_TOOL" --store "$cluster" init --fixture "$work/cluster.json" \
  --hosts "$(IFS=,; echo "${racers[*]}")" || exit 2
for ((round = 1; round <= 3; round++)); do
  for verb in unmount mount; do
    for host in "${racers[@]}"; do
      "$CLI" --store "$cluster" --on-host "$host" storage filesystem "$verb" -l "$shared" \
        > /dev/null 2> "$work/$host.last" || { echo "== --on-host $host filesystem $verb" \
        "-l $shared (round $round)"; cat "$work/$host.last"; } >> "$work/$host.err" &
    done
    wait
    { rely_invariants "$cluster"
      "$HOST_TOOL" --store "$cluster" dump | jq -r --argjson n "$([[ $verb == mount ]] &&
        echo ${#racers[@]} || echo 0)" '[.volumes[0].kovra.heartbeats[].offset] as $at
        | select(($at | length) != $n or ($at | unique | length) != $n) | "slots at \($at)"'
    } | sed "s/^/round $round, after $verb: /"
  done
done > "$work/slots.bad"
echo "slot races: ${#racers[@]} hosts x 3 rounds of unmount and mount of $shared"
if [[ -s "$work/slots.bad" ]]; then
  echo "heartbeat slots that are not one per host mounting the volume, at different offsets:"
  sed 's/^/  /' "$work/slots.bad"
  failed=1
fi
# Two dry runs race a real writer on the same volume: the writer's change
# is kept, the dry runs (an unmount on hosts that keep it mounted) change
# nothing.
dry_hosts=("${racers[0]}" "${racers[1]}") writer="${racers[2]}"
for verb in unmount mount unmount mount; do
  for host in "${dry_hosts[@]}"; do
    "$CLI" --store "$cluster" --on-host "$host" --dry-run storage filesystem unmount \
      -l "$shared" > /dev/null 2> "$work/$host.dry" || { echo "== --dry-run --on-host $host" \
      "filesystem unmount -l $shared"; cat "$work/$host.dry"; } >> "$work/$host.err" &
  done
  "$CLI" --store "$cluster" --on-host "$writer" storage filesystem "$verb" -l "$shared" \
    > /dev/null 2> "$work/$writer.last" || { echo "== --on-host $writer filesystem $verb" \
    "-l $shared (beside dry runs)"; cat "$work/$writer.last"; } >> "$work/$writer.err" &
  wait
  "$HOST_TOOL" --store "$cluster" dump | jq -r --arg v "$shared" --arg verb "$verb" \
    --arg a "${dry_hosts[0]}" --arg b "${dry_hosts[1]}" --arg w "$writer" '
    def on($views): first($views[] | select(.name == $v) | .mounted) // false;
    ([{host, on: on(.volumes)}] + [.hosts[] | {host, on: on(.views)}]
     | map({(.host): .on}) | add) as $on
    | select($on[$a] != true or $on[$b] != true or $on[$w] != ($verb == "mount"))
    | "after a dry \($verb) race: \($a) \($on[$a]), \($b) \($on[$b]), writer \($w) \($on[$w])"'
done > "$work/dry_race.bad"
echo "dry-run races: 2 dry runs beside each of 4 real unmounts and mounts of $shared"
if [[ -s "$work/dry_race.bad" ]]; then
  echo "a dry run changed the store, or the real writer's change was lost:"
  sed 's/^/  /' "$work/dry_race.bad"
  failed=1
fi
cat "$work"/*.err > "$work/all.err"
if [[ -s "$work/all.err" ]]; then
  echo "failed commands (== command, then what it printed):"
  sed 's/^/  /' "$work/all.err"
  failed=1
fi

integrity="$(rely_integrity "$store")"
if [[ "$integrity" != ok ]]; then
  echo "integrity_check: $integrity"
  failed=1
fi
if ((${#HOSTS[@]})); then
  rely_invariants "$store" "${labels[@]}" > "$work/invariants"
  echo "${#HOSTS[@]} hosts, shared volumes ${san[*]}: $(cat "$work"/*.log | grep -c ' vol:kvs-')" \
    "mounts and unmounts, $(cat "$work"/*.log | grep -c ' lock:kvs-') locking-mode changes;" \
    "$(wc -l < "$work/invariants") invariants broken"
  sed 's/^/  invariant /' "$work/invariants"
  [[ -s "$work/invariants" ]] && failed=1
fi
rely_load_state actual "$store"
mismatches=0
while read -r key have want; do
  echo "state: $key is $have, the commands imply $want"
  mismatches=$((mismatches + 1))
done < <(rely_differences expected actual)
echo "state mismatches: $mismatches, integrity: $integrity"
((mismatches)) && failed=1
if ((failed)); then
  echo "work directory kept for inspection: $work"
  exit 1
fi
rm -rf "$work"
