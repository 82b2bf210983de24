#!/usr/bin/env bash
# Dry runs of each mutating command form of the crash suite, on copies of
# the default host's store: the dry run must print what the real run
# prints, with its exit status, leave the store's bytes as they were (and
# its log empty), and list exactly the difference between the dumps before
# and after the real run (dry_run_check.py). Exits 1 on any failure, 2 on
# bad usage or a missing tool.
#
#   dry_run_forms.sh --bin DIR
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/reliability/suite_lib.sh
source "$here/suite_lib.sh"

bin=""
rely_options "--bin DIR" bin -- "$@"
work="$(mktemp -d "${TMPDIR:-/tmp}/dry_run_forms.XXXXXX")"
template="$work/template.db"
store="$work/host.db"

# Something for each form to change: an event to clear, a fault, a mount
# that a restart undoes, a NAS volume in its preunmount state.
{
  "$HOST_TOOL" --store "$template" init &&
    "$HOST_TOOL" --store "$template" fault add --operation GetCapacity --object none --message m &&
    "$CLI" --store "$template" storage filesystem unmount -l archive --no-persist &&
    "$CLI" --store "$template" storage nfs preunmountstate enter -v nfs-backup
} > /dev/null || exit 2

forms=(
  "storage nfs add -H 192.0.2.10 -s /share/d1 -v d1"
  "storage nfs add -H 192.0.2.10 -s /share/d2 -v d2 -r -p"
  "storage nfs remove -v nfs-backup"
  "storage nfs param set -v nfs-iso -q 16 -I tvn1"
  "storage nfs preunmountstate enter -v nfs-iso"
  "storage nfs preunmountstate exit -v nfs-backup"
  "storage nfs41 add -H 192.0.2.10 -s /share/f -v f41"
  "storage nfs41 remove -v nfs41-home"
  "storage nfs41 param set -v nfs41-home -q 8"
  "storage filesystem mount -l scratch"
  "storage filesystem unmount -l datastore1"
  "storage filesystem unmount --unmount-all-kovra"
  "storage filesystem rescan"
  "storage filesystem automount"
  "storage kovra reclaim config set -l datastore1 -g 2097152 -p high"
  "storage kovra lockmode set -s -l datastore1"
  "storage kovra lockmode set -a -l datastore2"
  "storage kovra snapshot mount -l prod-db"
  "storage kovra snapshot mount -l prod-db -n"
  "storage kovra snapshot resignature -l prod-db"
  "storage kovra upgrade -l legacy3"
  "storage kovra unmap -l datastore1 -n 200"
  "storage kovra pbcache reset"
  "storage internal clusteredkadisk set -l datastore1 -e true"
  "storage internal nmp boot restore"
  "tarvex-host feature set 2000 on"
  "tarvex-host restart"
  "tarvex-host fault add --operation Mount --object none --message m"
  "tarvex-host fault clear"
  "tarvex-host events --clear"
)

failed=0 checked=0
fail() {
  echo "'$form': $*"
  failed=1
}
for form in "${forms[@]}"; do
  read -ra words <<< "$form"
  program="$CLI"
  if [[ "${words[0]}" == tarvex-host ]]; then
    program="$HOST_TOOL" words=("${words[@]:1}")
  fi
  rm -f "$store"*
  cp "$template" "$store"
  "$HOST_TOOL" --store "$store" dump > "$work/before.json"
  sum="$(sha256sum < "$store")"
  "$program" --store "$store" --dry-run=json "${words[@]}" > "$work/dry.out" 2> "$work/dry.err"
  dry_status=$?
  [[ "$(sha256sum < "$store")" == "$sum" ]] || fail "the dry run changed the store's bytes"
  [[ ! -s "$store-wal" ]] || fail "the dry run left $(stat -c %s "$store-wal") bytes in the log"
  "$program" --store "$store" "${words[@]}" > "$work/real.out" 2> "$work/real.err"
  real_status=$?
  "$HOST_TOOL" --store "$store" dump > "$work/after.json"
  ((dry_status == real_status)) || fail "exit status $dry_status, for real $real_status"
  cmp -s "$work/dry.out" "$work/real.out" || fail "output differs: $(diff "$work/dry.out" "$work/real.out")"
  sed '/^{$/,$d' "$work/dry.err" | cmp -s - "$work/real.err" ||
    fail "messages differ: $(sed '/^{$/,$d' "$work/dry.err" | diff - "$work/real.err")"
  vary=()
  # A new volume's UUID (and a resignatured one's name) is random.
  [[ "$form" == *resignature* || "$form" == *" add -H "* ]] && vary=(--values-vary)
  python3 "$here/dry_run_check.py" "$work/dry.err" "$work/before.json" "$work/after.json" \
    "${vary[@]}" || fail "the list is not what the real run changed"
  checked=$((checked + 1))
done
echo "dry run forms: $checked checked, $( ((failed)) && echo failures || echo 'no failures')"
if ((failed)); then
  echo "kept for inspection: $work"
  exit 1
fi
rm -rf "$work"
