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
export RELY_NAS_SETTINGS=1 RELY_HOST_STATE=1

work="$(mktemp -d "${TMPDIR:-/tmp}/crash_suite.XXXXXX")"
store="$work/host.db"
kovra=(kv-0 kv-1)
features=(2000 2001)
rely_fixture "${kovra[@]}" > "$work/fixture.json"
"$HOST_TOOL" --store "$store" init --fixture "$work/fixture.json" || exit 2
# `nfs param set -I` (a volume's strelnic) comes with NAS strelnic binding.
"$HOST_TOOL" --store "$store" feature set 145 on || exit 2
# The preunmount commands exist only with NAS preunmount on.
"$HOST_TOOL" --store "$store" feature set 284 on || exit 2

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

declare -A expected actual known kills_of
rely_load_state expected "$store"
next_volume=0
kills=0 completed=0 refused=0 integrity_failures=0 lost=0 torn=0

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
  [[ $vol_new == absent ]] && expect events "${expected[events]}" "*"
}

# A Kovra volume that a snapshot becomes: mounted, its settings whatever the
# snapshot had.
expect_new_kovra() {
  local name="$1" key
  expect "vol:$name" "$(rely_value expected "vol:$name")" mounted
  for key in reclaim lock version clustered reclaimed; do
    expect "$key:$name" "$(rely_value expected "$key:$name")" "*"
  done
}

# For commands whose effect the host decides over the whole store (restart,
# rescan, automount): each key that the command, run to the end on a copy
# of the store, changes.
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

# keys_with ARRAY VALUE PREFIX: the names of the keys "KIND:NAME" of the
# expected state that begin with PREFIX and have VALUE, as ARRAY.
keys_with() {
  local -n _kw_into="$1"
  local key
  _kw_into=()
  for key in "${!expected[@]}"; do
    [[ "${expected[$key]}" == "$2" && "$key" == "$3"* ]] && _kw_into+=("${key#*:}")
  done
}

# Chooses the next command from what the expected state allows: sets cmd
# (the command line) and, through expect, the keys it changes.
choose() {
  local mounted=() unmounted=() settable=() key names
  keys=() olds=() news=() alsos=() limits=() limit_name=""
  for key in "${!expected[@]}"; do
    [[ "$key" == vol:crash* ]] || continue
    case "${expected[$key]}" in
      mounted) mounted+=("${key#vol:}") ;;
      unmounted) unmounted+=("${key#vol:}") ;;
      *) continue ;;
    esac
    # `nfs param set` changes NFS v3 volumes that are not protocol endpoints.
    [[ "$key" == vol:crash-* && "${expected[nas:${key#vol:}]}" == */notpe ]] &&
      settable+=("${key#vol:}")
  done
  local pick=$((RANDOM % 27))
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
      expect_nas "$name" mounted "$settings" "*" unmounted "$limit" ;;
    2 | 10)
      local all=("${mounted[@]}" "${unmounted[@]}")
      local name="${all[RANDOM % ${#all[@]}]}" kind=nfs
      [[ "$name" == crash41-* ]] && kind=nfs41
      cmd=("$CLI" --store "$store" storage "$kind" remove -v "$name")
      expect_nas "$name" absent absent absent ;;
    3)
      if ((${#mounted[@]} == 0)); then choose; return; fi
      local name="${mounted[RANDOM % ${#mounted[@]}]}"
      cmd=("$CLI" --store "$store" storage filesystem unmount -l "$name")
      expect "vol:$name" mounted unmounted
      expect "preunmount:$name" "${expected[preunmount:$name]}" false
      expect events "${expected[events]}" "*" ;;
    4)
      if ((${#unmounted[@]} == 0)); then choose; return; fi
      local name="${unmounted[RANDOM % ${#unmounted[@]}]}"
      cmd=("$CLI" --store "$store" storage filesystem mount -l "$name")
      expect "vol:$name" unmounted mounted ;;
    5)
      local name="${kovra[RANDOM % ${#kovra[@]}]}" priorities=(none low medium high)
      local granularity=$(((RANDOM % 64 + 1) * 1048576)) priority="${priorities[RANDOM % 4]}"
      if ((RANDOM % 2)); then
        cmd=("$CLI" --store "$store" storage kovra reclaim config set -l "$name"
          -g "$granularity" -p "$priority")
        expect "reclaim:$name" "${expected[reclaim:$name]}" "$granularity/$priority"
      elif [[ "${expected[lock:$name]}" == 16 ]]; then
        cmd=("$CLI" --store "$store" storage kovra lockmode set -s -l "$name")
        expect "lock:$name" 16 0
      else
        cmd=("$CLI" --store "$store" storage kovra lockmode set -a -l "$name")
        expect "lock:$name" "${expected[lock:$name]}" 16
      fi ;;
    6)
      local number="${features[RANDOM % ${#features[@]}]}" new=true
      [[ "$(rely_value expected "feature:$number")" == true ]] && new=false
      cmd=("$HOST_TOOL" --store "$store" feature set "$number"
        "$([[ $new == true ]] && echo on || echo off)")
      expect "feature:$number" "$(rely_value expected "feature:$number")" "$new" ;;
    7 | 9)
      if ((${#settable[@]} == 0)); then choose; return; fi
      local name="${settable[RANDOM % ${#settable[@]}]}" depth=$((RANDOM % 255 + 1))
      local strelnic="tvn$((RANDOM % 2))" old="${expected[param:$name]}"
      cmd=("$CLI" --store "$store" storage nfs param set -v "$name" -q "$depth" -I "$strelnic")
      limit_name="nfs param set -q -I killed between its calls"
      expect "param:$name" "$old" "$depth/$strelnic" "" "$depth/${old#*/}" ;;
    11 | 12 | 24)
      keys_with names unresolved snap:
      if ((${#names[@]} == 0)); then choose; return; fi
      local name="${names[RANDOM % ${#names[@]}]}" how=$((RANDOM % 4)) flags=()
      expect "snap:$name" unresolved absent
      if ((how == 0)); then
        cmd=("$CLI" --store "$store" storage kovra snapshot resignature -l "$name")
        expect_new_kovra "resig-$name"
      else
        # Mostly for this boot only: a restart gives the snapshot back.
        ((how > 1)) && flags=(-n)
        cmd=("$CLI" --store "$store" storage kovra snapshot mount -l "$name" "${flags[@]}")
        expect_new_kovra "$name"
      fi ;;
    13)
      keys_with names 3 version:
      if ((${#names[@]} == 0)); then choose; return; fi
      cmd=("$CLI" --store "$store" storage kovra upgrade -l "${names[0]}")
      expect "version:${names[0]}" 3 5 ;;
    14)
      # The volumes are 1 GiB and empty: each unmap in whole iterations of
      # a unit that divides 1024 blocks releases all of it.
      local name="${kovra[RANDOM % ${#kovra[@]}]}" old
      old="${expected[reclaimed:$name]}"
      cmd=("$CLI" --store "$store" storage kovra unmap -l "$name" -n $((1 << RANDOM % 11)))
      expect "reclaimed:$name" "$old" $((old + 1073741824)) ;;
    15 | 25)
      # The maximum becomes the fixture's working set, which nothing changes.
      cmd=("$CLI" --store "$store" storage kovra pbcache reset)
      expect pbcache "${expected[pbcache]}" 4096/0 ;;
    16)
      local name="${kovra[RANDOM % ${#kovra[@]}]}" new=true
      [[ "${expected[clustered:$name]}" == true ]] && new=false
      cmd=("$CLI" --store "$store" storage internal clusteredkadisk set -l "$name" -e "$new")
      expect "clustered:$name" "${expected[clustered:$name]}" "$new" ;;
    17)
      cmd=("$CLI" --store "$store" storage internal nmp boot restore)
      expect restores "${expected[restores]}" $((expected[restores] + 1)) ;;
    18)
      # Enter or exit, half and half, on a mounted volume that can.
      local step=enter old=false new=true mounted_names=() name
      ((RANDOM % 2)) && step=exit old=true new=false
      keys_with names "$old" preunmount:crash-
      for name in "${names[@]}"; do
        [[ "${expected[vol:$name]}" == mounted ]] && mounted_names+=("$name")
      done
      if ((${#mounted_names[@]} == 0)); then choose; return; fi
      name="${mounted_names[RANDOM % ${#mounted_names[@]}]}"
      cmd=("$CLI" --store "$store" storage nfs preunmountstate "$step" -v "$name")
      expect "preunmount:$name" "$old" "$new" ;;
    19)
      keys_with names mounted vol:crash41-
      if ((${#names[@]} == 0)); then choose; return; fi
      local name="${names[RANDOM % ${#names[@]}]}" depth=$((RANDOM % 255 + 1))
      cmd=("$CLI" --store "$store" storage nfs41 param set -v "$name" -q "$depth")
      expect "param:$name" "${expected[param:$name]}" "$depth/" ;;
    20 | 26)
      local forms=("storage filesystem rescan" "storage filesystem automount")
      read -ra cmd <<< "${forms[RANDOM % 2]}"
      cmd=("$CLI" --store "$store" "${cmd[@]}")
      expect_as_on_copy ;;
    21)
      cmd=("$HOST_TOOL" --store "$store" restart)
      expect_as_on_copy ;;
    22)
      # Armed on an object no command names, so that it never fires.
      local old="${expected[faults]}" operations=(GetCapacity Mount RescanKovra)
      if [[ -n "$old" ]] && ((RANDOM % 2)); then
        cmd=("$HOST_TOOL" --store "$store" fault clear)
        expect faults "$old" ""
      else
        local operation="${operations[RANDOM % 3]}"
        cmd=("$HOST_TOOL" --store "$store" fault add --operation "$operation"
          --object no-such-volume --message "armed by the crash suite")
        expect faults "$old" "${old:+$old,}$operation@no-such-volume"
      fi ;;
    23)
      cmd=("$HOST_TOOL" --store "$store" events --clear)
      expect events "${expected[events]}" 0 ;;
  esac
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
    form=""  # the command's words, up to its first option or number
    for word in "${cmd[@]:3}"; do
      [[ "$word" == --dry-run ]] && continue
      [[ "$word" == -* || "$word" == [0-9]* ]] && break
      form+="${form:+ }$word"
    done
    kills_of["${form#storage }"]=$((${kills_of[${form#storage }]:-0} + 1))
  fi
  ((status == 0)) && completed=$((completed + 1))
  if ((status != 0 && status != 128 + 9)); then
    refused=$((refused + 1))
    fail "'${cmd[*]:3}' failed with status $status: $(head -c 300 "$work/err")"
  fi
  limited=0
  for i in "${!keys[@]}"; do
    key="${keys[i]}"
    rely_get actual "$key"
    now="$REPLY"
    if ((status == 0)) && [[ "${news[i]}" != "*" ]]; then
      expected["$key"]="${news[i]}"
      continue
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
  # The whole state must be what the rounds so far imply: nothing lost,
  # nothing that no command made.
  while read -r k have want; do
    # The datastore agent that a killed command started lives on, and may
    # record its notification after the round.
    if [[ "$k" == events && "$have" == $((want + 1)) ]]; then
      known["$late_name"]=$((${known[$late_name]:-0} + 1))
      expected[events]="$have"
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
echo "killed, by command:" \
  "$(for form in "${!kills_of[@]}"; do echo "$form ${kills_of[$form]}"; done | sort |
    paste -sd ';' | sed 's/;/; /g')"
if ((failed)); then
  echo "store kept for inspection: $store"
  exit 1
fi
rm -rf "$work"
