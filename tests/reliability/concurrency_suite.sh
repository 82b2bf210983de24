#!/usr/bin/env bash
# Concurrency suite: several processes run mixed mutating commands on one
# store at once, each on objects of its own (NFS v3 and v4.1 volumes it adds,
# mounts, unmounts and removes; its own Kovra volume's reclamation settings
# and locking mode; its own feature-table entry). Afterwards the store must
# hold exactly what the commands that reported success imply, pass
# `PRAGMA integrity_check`, and no command may have failed; in particular
# nobody may see the store locked ("database is locked").
#
#   concurrency_suite.sh --bin DIR [--workers N] [--ops N] [--seed N]
#
# DIR holds tarvexcli and tarvex-host (a build's bin/). Default: 8 workers of
# 100 commands each. Prints operations, failures by kind and wall time; exits
# 1 on any failure, 2 on bad usage or a missing tool.
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/reliability/suite_lib.sh
source "$here/suite_lib.sh"

bin="" workers=8 ops=100 seed=$$
while (($#)); do
  case "$1" in
    --bin) bin="$2" ;;
    --workers) workers="$2" ;;
    --ops) ops="$2" ;;
    --seed) seed="$2" ;;
    *) echo "usage: $0 --bin DIR [--workers N] [--ops N] [--seed N]" >&2; exit 2 ;;
  esac
  shift 2 || { echo "error: $1 needs a value" >&2; exit 2; }
done
[[ -n "$bin" ]] || { echo "usage: $0 --bin DIR [--workers N] [--ops N] [--seed N]" >&2; exit 2; }
rely_init_tools "$bin"

work="$(mktemp -d "${TMPDIR:-/tmp}/concurrency_suite.XXXXXX")"
store="$work/host.db"
kovra=()
for ((w = 0; w < workers; w++)); do kovra+=("kv-$w"); done
rely_fixture "${kovra[@]}" > "$work/fixture.json"
"$HOST_TOOL" --store "$store" init --fixture "$work/fixture.json" || exit 2

# worker W: runs $ops commands on W's own objects. Writes "ok KEY VALUE" or
# "failed KEY STATUS" per command to $work/W.log and each failure's standard
# error, after a "== command" line, to $work/W.err.
worker() {
  local w="$1" i key value status name pick
  RANDOM=$((seed * 100 + w))
  declare -A mine=()  # volume name -> "nfs" or "nfs41"
  declare -A mounted=()
  local next=0 lock=0 feature=false
  : > "$work/$w.log"
  : > "$work/$w.err"
  for ((i = 0; i < ops; i++)); do
    local names=("${!mine[@]}")
    pick=$((RANDOM % 8))
    ((${#names[@]} < 2)) && pick=$((RANDOM % 2))
    case $pick in
      0 | 1)
        name="w$w-$next" next=$((next + 1))
        local kind=nfs
        ((pick == 1)) && kind=nfs41
        cmd=("$CLI" --store "$store" storage "$kind" add -H 192.0.2.10 -s "/w$w/$name" -v "$name")
        key="vol:$name" value=mounted ;;
      2)
        name="${names[RANDOM % ${#names[@]}]}"
        cmd=("$CLI" --store "$store" storage "${mine[$name]}" remove -v "$name")
        key="vol:$name" value=absent ;;
      3 | 4)
        name="${names[RANDOM % ${#names[@]}]}"
        if [[ "${mounted[$name]}" == 1 ]]; then
          cmd=("$CLI" --store "$store" storage filesystem unmount -l "$name") value=unmounted
        else
          cmd=("$CLI" --store "$store" storage filesystem mount -l "$name") value=mounted
        fi
        key="vol:$name" ;;
      5)
        local priorities=(none low medium high)
        local granularity=$(((RANDOM % 64 + 1) * 1048576)) priority="${priorities[RANDOM % 4]}"
        cmd=("$CLI" --store "$store" storage kovra reclaim config set -l "kv-$w"
          -g "$granularity" -p "$priority")
        key="reclaim:kv-$w" value="$granularity/$priority" ;;
      6)
        if ((lock == 16)); then value=0 flag=-s; else value=16 flag=-a; fi
        cmd=("$CLI" --store "$store" storage kovra lockmode set "$flag" -l "kv-$w")
        key="lock:kv-$w" ;;
      7)
        if [[ "$feature" == true ]]; then value=false; else value=true; fi
        cmd=("$HOST_TOOL" --store "$store" feature set "$((1000 + w))"
          "$([[ $value == true ]] && echo on || echo off)")
        key="feature:$((1000 + w))" ;;
    esac
    "${cmd[@]}" > /dev/null 2> "$work/$w.last"
    status=$?
    if ((status != 0)); then
      echo "failed $key $status" >> "$work/$w.log"
      { echo "== ${cmd[*]:3}"; cat "$work/$w.last"; } >> "$work/$w.err"
      continue
    fi
    echo "ok $key $value" >> "$work/$w.log"
    case "$key:$value" in
      vol:*:mounted) mine[$name]="${mine[$name]:-$kind}" mounted[$name]=1 ;;
      vol:*:unmounted) mounted[$name]=0 ;;
      vol:*:absent) unset "mine[$name]" "mounted[$name]" ;;
      lock:*) lock=$value ;;
      feature:*) feature=$value ;;
    esac
  done
}

declare -A expected actual
rely_load_state expected "$store"
started=$(date +%s%N)
pids=()
for ((w = 0; w < workers; w++)); do
  worker "$w" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
elapsed_ms=$((($(date +%s%N) - started) / 1000000))

failed=0
operations=0 succeeded=0
while read -r outcome key value; do
  operations=$((operations + 1))
  if [[ "$outcome" == ok ]]; then
    succeeded=$((succeeded + 1))
    expected["$key"]="$value"  # each key belongs to one worker: its log is in order
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
cat "$work"/*.err > "$work/all.err"
if [[ -s "$work/all.err" ]]; then
  echo "failures by kind:"
  grep -v '^== ' "$work/all.err" | sed -E 's/w[0-9]+-[0-9]+/NAME/g; s/kv-[0-9]+/KOVRA/g' |
    sort | uniq -c | sort -rn | sed 's/^/  /'
  failed=1
else
  echo "failures by kind: none"
fi
locked=$(grep -c -e 'database is locked' -e 'is locked' "$work/all.err")
echo "\"locked\" seen by users: $locked"

integrity="$(rely_integrity "$store")"
if [[ "$integrity" != ok ]]; then
  echo "integrity_check: $integrity"
  failed=1
fi
rely_load_state actual "$store"
mismatches=0
for key in "${!expected[@]}"; do
  [[ "${expected[$key]}" == unknown ]] && continue
  [[ "$(rely_value actual "$key")" == "${expected[$key]}" ]] && continue
  echo "state: $key is $(rely_value actual "$key"), the commands imply ${expected[$key]}"
  mismatches=$((mismatches + 1))
done
for key in "${!actual[@]}"; do
  [[ -n "${expected[$key]+set}" ]] && continue
  echo "state: $key=${actual[$key]} was made by no command that reported success"
  mismatches=$((mismatches + 1))
done
echo "state mismatches: $mismatches, integrity: $integrity"
((mismatches)) && failed=1
if ((failed)); then
  echo "work directory kept for inspection: $work"
  exit 1
fi
rm -rf "$work"
