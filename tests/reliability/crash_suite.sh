#!/usr/bin/env bash
# Crash suite: mutating commands on one store, each killed with SIGKILL at a
# random moment; after every round the store must be sound and hold exactly
# what the rounds so far imply (docs/reliability.md). With --hosts N the store
# is a cluster of N hosts: each round runs on a host chosen at random, the
# commands include mounts of the shared Kovra volumes, crashes and boots, and
# the cluster's invariants must hold after every round. Exits 1 on any
# failure, 2 on bad usage or a missing tool.
#
#   crash_suite.sh --bin DIR [--rounds N] [--seed N] [--max-delay-ms N] [--hosts N]
#
# DIR holds tarvexcli and tarvex-host. Default: 200 rounds on one host, each
# killed after up to one and a half times the time a command takes here
# (measured first).
# shellcheck disable=SC2034  # the states are read through namerefs (suite_lib.sh)
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/reliability/suite_lib.sh
source "$here/suite_lib.sh"

bin="" rounds=200 seed=$$ max_delay_ms="" hosts=1
rely_options "--bin DIR [--rounds N] [--seed N] [--max-delay-ms N] [--hosts N]" \
  bin rounds seed max-delay-ms hosts -- "$@"
RANDOM=$seed
export RELY_NAS_SETTINGS=1 RELY_HOST_STATE=1

work="$(mktemp -d "${TMPDIR:-/tmp}/crash_suite.XXXXXX")"
store="$work/host.db"
kovra=(kv-0 kv-1)
features=(2000 2001)
rely_fixture "${kovra[@]}" > "$work/fixture.json"
rely_init "$store" "$work/fixture.json" || exit 2
for host in "${HOSTS[@]:-}"; do
  rely_on "$host"
  # `nfs param set -I` (a volume's strelnic) comes with NAS strelnic binding;
  # the preunmount commands exist only with NAS preunmount on.
  for number in 145 284; do
    "$HOST_TOOL" --store "$store" feature set "$number" on "${ON[@]}" || exit 2
  done
done
rely_on "${HOSTS[0]:-}"

# The mean time of one mutating command, in ms, on a copy of the store.
command_ms() {
  local copy="$work/calibrate.db" start i
  cp "$store" "$copy"
  start=$(date +%s%N)
  for ((i = 0; i < 5; i++)); do
    "$CLI" --store "$copy" "${ON[@]}" storage nfs add -H 192.0.2.10 -s /c -v "c$i" > /dev/null
    "$CLI" --store "$copy" "${ON[@]}" storage nfs remove -v "c$i" > /dev/null
  done
  echo $((($(date +%s%N) - start) / 10000000))
}
if [[ -z "$max_delay_ms" ]]; then
  max_delay_ms=$(($(command_ms) * 3 / 2))
  ((max_delay_ms < 2)) && max_delay_ms=2
fi

declare -A expected actual known kills_of
rely_load_state expected "$store"
next_volume=0
kills=0 completed=0 refused=0 integrity_failures=0 lost=0 torn=0
declare -A broken=()  # the cluster's invariants broken so far, each once

# expect KEY OLD NEW [ALSO [LIMIT]]: a key the chosen command changes from OLD
# to NEW ("*": whatever it makes). A killed run may also leave ALSO (values
# separated by "|", "*" for any), or LIMIT: a known limit of the command,
# counted under $limit_name (docs/reliability.md, "Known limits").
expect() {
  keys+=("$1") olds+=("$2") news+=("$3") alsos+=("${4:-}") limits+=("${5:-}")
}

# A NAS volume's keys, from OLD values to NEW ones (absent for all when the
# volume is added or removed). The datastore agent hears of a removal.
expect_nas() {
  local name="$1" vol_new="$2" nas_new="$3" param_new="$4" vol_also="${5:-}" nas_limit="${6:-}"
  expect "vol:$name" "$(rely_value expected "vol:$name")" "$vol_new" "$vol_also"
  expect "nas:$name" "$(rely_value expected "nas:$name")" "$nas_new" "" "$nas_limit"
  expect "param:$name" "$(rely_value expected "param:$name")" "$param_new" "*"
  expect "preunmount:$name" "$(rely_value expected "preunmount:$name")" \
    "$([[ $vol_new == absent ]] && echo absent || echo false)"
  [[ $vol_new == absent ]] && expect "events$AT" "${expected[events$AT]}" "*"
}

# For commands whose effect the host decides over the whole store (restart,
# rescan, automount), or that change what several hosts share (locking mode,
# snapshots, Kovra mounts, crash, boot): each key that the command, run to
# the end on a copy of the store, changes.
expect_as_on_copy() {
  local copy="$work/copy.db" k old new
  local -A after
  rm -f "$copy"*
  sqlite3 "$store" ".backup '$copy'"
  "${cmd[@]//"$store"/"$copy"}" > /dev/null || fail "'${cmd[*]:3}' failed on a copy"
  rely_load_state after "$copy"
  while read -r k old new; do
    expect "$k" "$old" "$new"
  done < <(rely_differences after expected)
}

# keys_with ARRAY VALUE PREFIX [SUFFIX]: the names of the keys "KIND:NAME"
# of the expected state that begin with PREFIX, end with SUFFIX and have
# VALUE, as ARRAY.
keys_with() {
  local -n _kw_into="$1"
  local key
  _kw_into=()
  for key in "${!expected[@]}"; do
    [[ "${expected[$key]}" == "$2" && "$key" == "$3"*"${4:-}" ]] && _kw_into+=("${key#*:}")
  done
}

# mounted_here ARRAY NAME...: those of the Kovra volumes NAME that the host
# has mounted, as ARRAY.
mounted_here() {
  local -n _mh_into="$1"
  local name
  _mh_into=()
  for name in "${@:2}"; do
    [[ "$(rely_value expected "vol:$name$AT")" == mounted ]] && _mh_into+=("$name")
  done
}

# Chooses the next command from what the expected state allows: sets cmd
# (the command line), through expect the keys it changes, and whole when it
# changes them in one transaction. In a cluster it first chooses a host,
# which only boots while it is down.
choose() {
  local mounted=() unmounted=() settable=() key names host="" up=() copy=0
  keys=() olds=() news=() alsos=() limits=() limit_name="" whole=0
  if ((${#HOSTS[@]})); then
    keys_with up up host:
    host="${HOSTS[RANDOM % ${#HOSTS[@]}]}"
    if [[ "${expected[host:$host]}" == down ]] && ((RANDOM % 2)); then
      cmd=("$HOST_TOOL" --store "$store" host boot "$host") whole=1
      expect_as_on_copy; return
    fi
    host="${up[RANDOM % ${#up[@]}]}"
  fi
  rely_on "$host"
  for key in "${!expected[@]}"; do
    [[ "$key" == vol:crash*"$AT" ]] || continue
    case "${expected[$key]}" in
      mounted) mounted+=("${key#vol:}") ;;
      unmounted) unmounted+=("${key#vol:}") ;;
      *) continue ;;
    esac
    # `nfs param set` changes NFS v3 volumes that are not protocol endpoints.
    [[ "$key" == vol:crash-* && "${expected[nas:${key#vol:}]}" == */notpe ]] &&
      settable+=("${key#vol:}")
  done
  local pick=$((RANDOM % (${#HOSTS[@]} ? 32 : 27)))
  ((${#mounted[@]} + ${#unmounted[@]} < 2)) && pick=0
  case $pick in
    0 | 1 | 8)
      local name="crash-$next_volume" kind=nfs flags=() settings="rw/notpe" limit=""
      next_volume=$((next_volume + 1))
      if ((pick == 8)); then
        name="crash41-$next_volume" kind=nfs41
      elif ((RANDOM % 2)); then
        flags=(-r -p) settings="ro/pe" limit="rw/notpe|ro/notpe"
        limit_name="nfs add -r -p killed before its setters"
      fi
      cmd=("$CLI" --store "$store" storage "$kind" add -H 192.0.2.10 -s "/share/$name" -v "$name"
        "${flags[@]}")
      expect_nas "$name$AT" mounted "$settings" "*" unmounted "$limit" ;;
    2 | 10)
      local all=("${mounted[@]}" "${unmounted[@]}")
      local name="${all[RANDOM % ${#all[@]}]}" kind=nfs
      [[ "$name" == crash41-* ]] && kind=nfs41
      cmd=("$CLI" --store "$store" storage "$kind" remove -v "${name%"$AT"}")
      expect_nas "$name" absent absent absent ;;
    3)
      if ((${#mounted[@]} == 0)); then choose; return; fi
      local name="${mounted[RANDOM % ${#mounted[@]}]}"
      cmd=("$CLI" --store "$store" storage filesystem unmount -l "${name%"$AT"}")
      expect "vol:$name" mounted unmounted
      expect "preunmount:$name" "${expected[preunmount:$name]}" false
      expect "events$AT" "${expected[events$AT]}" "*" ;;
    4)
      if ((${#unmounted[@]} == 0)); then choose; return; fi
      local name="${unmounted[RANDOM % ${#unmounted[@]}]}"
      cmd=("$CLI" --store "$store" storage filesystem mount -l "${name%"$AT"}")
      expect "vol:$name" unmounted mounted ;;
    5 | 30 | 31)
      # In a cluster, mostly the locking mode: its rules span the hosts.
      local name="${kovra[RANDOM % ${#kovra[@]}]}" priorities=(none low medium high)
      local granularity=$(((RANDOM % 64 + 1) * 1048576)) priority="${priorities[RANDOM % 4]}"
      if ((pick == 5 && RANDOM % 2)); then
        cmd=("$CLI" --store "$store" storage kovra reclaim config set -l "$name"
          -g "$granularity" -p "$priority")
        expect "reclaim:$name" "${expected[reclaim:$name]}" "$granularity/$priority"
      else
        # Heading for ATS-only (0x10, or 0x20 pending) turns back; in a
        # cluster, not always.
        local lock="${expected[lock:$name]}" flag=-a flip=0
        ((${#HOSTS[@]})) && flip=$((RANDOM % 4 == 0))
        (((lock & 0x30) != 0 ^ flip)) && flag=-s
        cmd=("$CLI" --store "$store" storage kovra lockmode set "$flag" -l "$name")
        copy=1 whole=1
      fi ;;
    6)
      local number="${features[RANDOM % ${#features[@]}]}" new=true
      [[ "$(rely_value expected "feature:$number$AT")" == true ]] && new=false
      cmd=("$HOST_TOOL" --store "$store" feature set "$number"
        "$([[ $new == true ]] && echo on || echo off)")
      expect "feature:$number$AT" "$(rely_value expected "feature:$number$AT")" "$new" ;;
    7 | 9)
      if ((${#settable[@]} == 0)); then choose; return; fi
      local name="${settable[RANDOM % ${#settable[@]}]}" depth=$((RANDOM % 255 + 1))
      local strelnic="tvn$((RANDOM % 2))" old="${expected[param:$name]}"
      cmd=("$CLI" --store "$store" storage nfs param set -v "${name%"$AT"}" -q "$depth"
        -I "$strelnic")
      limit_name="nfs param set -q -I killed between its calls"
      expect "param:$name" "$old" "$depth/$strelnic" "" "$depth/${old#*/}" ;;
    11 | 12 | 24)
      keys_with names unresolved snap:
      if ((${#names[@]} == 0)); then choose; return; fi
      local name="${names[RANDOM % ${#names[@]}]}" how=$((RANDOM % 4)) flags=()
      if ((how == 0)); then
        cmd=("$CLI" --store "$store" storage kovra snapshot resignature -l "$name")
      else
        # Mostly for this boot only: a restart gives the snapshot back.
        ((how > 1)) && flags=(-n)
        cmd=("$CLI" --store "$store" storage kovra snapshot mount -l "$name" "${flags[@]}")
      fi
      copy=1 whole=1 ;;
    13)
      keys_with names 3 version:
      mounted_here names "${names[@]}"
      if ((${#names[@]} == 0)); then choose; return; fi
      cmd=("$CLI" --store "$store" storage kovra upgrade -l "${names[0]}")
      expect "version:${names[0]}" 3 5 ;;
    14)
      # The volumes are 1 GiB and empty: each unmap in whole iterations of
      # a unit that divides 1024 blocks releases all of it.
      mounted_here names "${kovra[@]}"
      if ((${#names[@]} == 0)); then choose; return; fi
      local name="${names[RANDOM % ${#names[@]}]}" old
      old="${expected[reclaimed:$name]}"
      cmd=("$CLI" --store "$store" storage kovra unmap -l "$name" -n $((1 << RANDOM % 11)))
      expect "reclaimed:$name" "$old" $((old + 1073741824)) ;;
    15 | 25)
      # The maximum becomes the fixture's working set, which nothing changes.
      cmd=("$CLI" --store "$store" storage kovra pbcache reset)
      expect "pbcache$AT" "${expected[pbcache$AT]}" 4096/0 ;;
    16)
      mounted_here names "${kovra[@]}"
      if ((${#names[@]} == 0)); then choose; return; fi
      local name="${names[RANDOM % ${#names[@]}]}" new=true
      [[ "${expected[clustered:$name]}" == true ]] && new=false
      cmd=("$CLI" --store "$store" storage internal clusteredkadisk set -l "$name" -e "$new")
      expect "clustered:$name" "${expected[clustered:$name]}" "$new" ;;
    17)
      cmd=("$CLI" --store "$store" storage internal nmp boot restore)
      local old="${expected[restores$AT]}"
      expect "restores$AT" "$old" $((old + 1)) ;;
    18)
      # Enter or exit, half and half, on a mounted volume that can.
      local step=enter old=false new=true mounted_names=() name
      ((RANDOM % 2)) && step=exit old=true new=false
      keys_with names "$old" preunmount:crash- "$AT"
      for name in "${names[@]}"; do
        [[ "${expected[vol:$name]}" == mounted ]] && mounted_names+=("$name")
      done
      if ((${#mounted_names[@]} == 0)); then choose; return; fi
      name="${mounted_names[RANDOM % ${#mounted_names[@]}]}"
      cmd=("$CLI" --store "$store" storage nfs preunmountstate "$step" -v "${name%"$AT"}")
      expect "preunmount:$name" "$old" "$new" ;;
    19)
      keys_with names mounted vol:crash41- "$AT"
      if ((${#names[@]} == 0)); then choose; return; fi
      local name="${names[RANDOM % ${#names[@]}]}" depth=$((RANDOM % 255 + 1))
      cmd=("$CLI" --store "$store" storage nfs41 param set -v "${name%"$AT"}" -q "$depth")
      expect "param:$name" "${expected[param:$name]}" "$depth/" ;;
    20 | 26)
      local forms=("storage filesystem rescan" "storage filesystem automount")
      read -ra cmd <<< "${forms[RANDOM % 2]}"
      cmd=("$CLI" --store "$store" "${cmd[@]}")
      copy=1 ;;
    21)
      cmd=("$HOST_TOOL" --store "$store" restart)
      copy=1 whole=1 ;;
    22)
      # Armed on an object no command names, so that it never fires.
      local old="${expected[faults$AT]}" operations=(GetCapacity Mount RescanKovra)
      if [[ -n "$old" ]] && ((RANDOM % 2)); then
        cmd=("$HOST_TOOL" --store "$store" fault clear)
        expect "faults$AT" "$old" ""
      else
        local operation="${operations[RANDOM % 3]}"
        cmd=("$HOST_TOOL" --store "$store" fault add --operation "$operation"
          --object no-such-volume --message "armed by the crash suite")
        expect "faults$AT" "$old" "${old:+$old,}$operation@no-such-volume"
      fi ;;
    23)
      cmd=("$HOST_TOOL" --store "$store" events --clear)
      expect "events$AT" "${expected[events$AT]}" 0 ;;
    27 | 28)
      # A Kovra volume whose name the suite knows, mounted or unmounted here.
      names=()
      for key in "${!expected[@]}"; do
        [[ "$key" == vol:*"$AT" && "$key" != vol:crash* && "$key" != vol:resig-* &&
          "${expected[$key]}" == *mounted ]] && names+=("${key#vol:}")
      done
      local name="${names[RANDOM % ${#names[@]}]}" verb=mount
      [[ "${expected[vol:$name]}" == mounted ]] && verb=unmount
      cmd=("$CLI" --store "$store" storage filesystem "$verb" -l "${name%"$AT"}")
      copy=1 whole=1 ;;
    29)
      if ((${#up[@]} < 2)); then choose; return; fi
      cmd=("$HOST_TOOL" --store "$store" host crash "$host")
      ON=() copy=1 whole=1 ;;
  esac
  cmd+=("${ON[@]}")
  ((copy)) && expect_as_on_copy
}

# in_values VALUE LIST: whether VALUE is one of LIST's "|"-separated values
# (a "*" among them matches any).
in_values() {
  [[ "|$2|" == *"|*|"* || "|$2|" == *"|$1|"* ]]
}

fail() {
  echo "round $round: $*"
  failed=1
}

failed=0 late_name="notification recorded after its command was killed"
started=$(date +%s%N)
dry_rounds=0 dry_kills=0 dry_changes=0
for ((round = 1; round <= rounds; round++)); do
  choose
  # One round in six is a dry run of the same command: killed or not, it
  # must change nothing.
  dry=0
  if ((RANDOM % 6 == 0)); then
    dry=1 dry_rounds=$((dry_rounds + 1)) news=("${olds[@]}")
    for i in "${!alsos[@]}"; do alsos[i]="" limits[i]=""; done
    cmd=("${cmd[@]:0:3}" --dry-run "${cmd[@]:3}")
    wrong_before=$((lost + torn))
  fi
  # A dry run never waits for the disk: a third of the time is its span.
  delay_ms=$((RANDOM % (max_delay_ms / (dry ? 3 : 1) + 1)))
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
  if ((status == 128 + 9)); then
    kills=$((kills + 1))
    form=""  # the command's words, up to its first option, number or host
    for word in "${cmd[@]:3}"; do
      [[ "$word" == --dry-run ]] && continue
      [[ "$word" == -* || "$word" == [0-9]* || " ${HOSTS[*]} " == *" $word "* ]] && break
      form+="${form:+ }$word"
    done
    kills_of["${form#storage }"]=$((${kills_of[${form#storage }]:-0} + 1))
  fi
  ((status == 0)) && completed=$((completed + 1))
  if ((status != 0 && status != 128 + 9)); then
    refused=$((refused + 1))
    fail "'${cmd[*]:3}' failed with status $status: $(head -c 300 "$work/err")"
  fi
  limited=0 changed=() unchanged=()
  for i in "${!keys[@]}"; do
    key="${keys[i]}"
    rely_get actual "$key"
    now="$REPLY"
    if ((status == 0)) && [[ "${news[i]}" != "*" ]]; then
      expected["$key"]="${news[i]}"
      continue
    fi
    # The agent's notification (a process of its own) comes before the change.
    if [[ "${olds[i]}" != "${news[i]}" && "$key" != events* ]]; then
      [[ "$now" == "${news[i]}" ]] && changed+=("$key") || unchanged+=("$key")
    fi
    if ((status == 128 + 9)) && ! in_values "$now" "${olds[i]}|${news[i]}|${alsos[i]}"; then
      if [[ -n "${limits[i]}" ]] && in_values "$now" "${limits[i]}"; then
        limited=1
      else
        torn=$((torn + 1))
        fail "killed '${cmd[*]:3}' left $key=$now (expected ${olds[i]} or ${news[i]})"
      fi
    fi
    expected["$key"]="$now"  # either is right; later rounds build on what is there
  done
  ((limited)) && known["$limit_name"]=$((${known[$limit_name]:-0} + 1))
  if ((status == 128 + 9 && whole && ${#changed[@]} && ${#unchanged[@]})); then
    torn=$((torn + 1))
    fail "killed '${cmd[*]:3}' changed ${changed[*]} but not ${unchanged[*]}"
  fi
  # The whole state must be what the rounds so far imply: nothing lost,
  # nothing that no command made.
  while read -r k have want; do
    # The datastore agent that a killed command started lives on, and may
    # record its notification after the round.
    if [[ "$k" == events* && "$have" == $((want + 1)) ]]; then
      known["$late_name"]=$((${known[$late_name]:-0} + 1))
      expected["$k"]="$have"
      continue
    fi
    lost=$((lost + 1))
    fail "state differs: $k is $have, expected $want"
    expected["$k"]="$have"  # report each difference once
  done < <(rely_differences expected actual)
  if ((dry)); then
    ((status == 128 + 9)) && dry_kills=$((dry_kills + 1))
    dry_changes=$((dry_changes + lost + torn - wrong_before))
  fi
  ((${#HOSTS[@]})) || continue
  while read -r line; do
    [[ -n "${broken[$line]+set}" ]] && continue
    broken["$line"]=$round
    fail "after '${cmd[*]:3}', invariant $line"
  done < <(rely_invariants "$store")
done
elapsed_ms=$((($(date +%s%N) - started) / 1000000))

echo "crash suite: $rounds rounds (seed $seed, kills after 0 to $max_delay_ms ms)," \
  "$kills killed, $completed completed, $refused failed commands"
echo "integrity failures: $integrity_failures, lost or unexplained effects: $lost, torn changes: $torn" \
  "($((elapsed_ms / 1000)).$((elapsed_ms % 1000 / 100)) s)"
echo "dry runs: $dry_rounds rounds, $dry_kills killed, changes left: $dry_changes"
echo "known limits:" \
  "$(for name in "nfs add -r -p killed before its setters" \
    "nfs param set -q -I killed between its calls" "$late_name"; do
    printf '%s: %s; ' "$name" "${known[$name]:-0}"
  done | sed 's/; $//')"
((${#HOSTS[@]})) && echo "${#HOSTS[@]} hosts: invariants broken (each counted once):" \
  "${#broken[@]}; snapshots resignatured: $(printf '%s\n' "${!expected[@]}" | grep -c '^lock:resig-')"
echo "killed, by command:" \
  "$(for form in "${!kills_of[@]}"; do echo "$form ${kills_of[$form]}"; done | sort |
    paste -sd ';' | sed 's/;/; /g')"
if ((failed)); then
  echo "store kept for inspection: $store"
  exit 1
fi
rm -rf "$work"
