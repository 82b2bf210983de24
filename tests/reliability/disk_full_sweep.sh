#!/usr/bin/env bash
# Disk-full sweep: makes new stores on tmpfs file systems too small to hold
# them, or barely large enough, and checks that creation is all or nothing.
# At each size, `tarvex-host init` and a first `tarvexcli` use each make a
# store; then the file system is grown, and each store path must either not
# exist or hold a store that passes `PRAGMA integrity_check` and works. No
# other file may stay behind (a store's own -wal and -shm may).
#
#   disk_full_sweep.sh --bin DIR [--sizes "64 96 ... 512"]
#
# DIR holds tarvexcli and tarvex-host. Sizes in KiB. Needs root to mount;
# exits 77 (skipped) with a message where mounting is refused, 1 on any
# corrupt or unusable store or leftover file, 2 on bad usage.
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/reliability/suite_lib.sh
source "$here/suite_lib.sh"

bin="" sizes="64 96 128 160 192 224 256 288 320 384 448 512"
while (($#)); do
  case "$1" in
    --bin) bin="$2" ;;
    --sizes) sizes="$2" ;;
    *) echo "usage: $0 --bin DIR [--sizes \"KIB...\"]" >&2; exit 2 ;;
  esac
  shift 2 || { echo "error: $1 needs a value" >&2; exit 2; }
done
[[ -n "$bin" ]] || { echo "usage: $0 --bin DIR [--sizes \"KIB...\"]" >&2; exit 2; }
rely_init_tools "$bin"

work="$(mktemp -d "${TMPDIR:-/tmp}/disk_full_sweep.XXXXXX")"
mnt="$work/mnt"
mkdir "$mnt"
trap 'umount "$mnt" 2> /dev/null; rm -rf "$work"' EXIT
if ! mount -t tmpfs -o size=64k tmpfs "$mnt" 2> "$work/err"; then
  echo "skipped: cannot mount a tmpfs here ($(head -1 "$work/err"); needs root)"
  exit 77
fi
umount "$mnt"

bad=0 leftovers=0 made=0 refused=0
for size in $sizes; do
  mount -t tmpfs -o "size=${size}k" tmpfs "$mnt" || exit 2
  "$HOST_TOOL" --store "$mnt/init.db" init > /dev/null 2> "$work/err"
  init_status=$?
  "$CLI" --store "$mnt/first.db" storage filesystem list > /dev/null 2>> "$work/err"
  first_status=$?
  mount -o remount,size=4m "$mnt" || exit 2
  results=()
  for store in init first; do
    if [[ ! -e "$mnt/$store.db" ]]; then
      refused=$((refused + 1))
      results+=("$store: none")
      continue
    fi
    made=$((made + 1))
    integrity="$(rely_integrity "$mnt/$store.db")"
    if [[ "$integrity" != ok ]] ||
      ! "$CLI" --store "$mnt/$store.db" storage filesystem list > /dev/null 2>&1; then
      bad=$((bad + 1))
      results+=("$store: CORRUPT OR UNUSABLE ($integrity)")
    else
      results+=("$store: sound")
    fi
  done
  others=()
  for file in "$mnt"/* "$mnt"/.[!.]*; do
    [[ -e "$file" ]] || continue
    [[ "$(basename "$file")" =~ ^(init|first)\.db(-wal|-shm)?$ ]] || others+=("$(basename "$file")")
  done
  leftovers=$((leftovers + ${#others[@]}))
  echo "${size} KiB: init exit $init_status, first use exit $first_status; ${results[*]}" \
    "${others[*]:+; LEFT BEHIND: ${others[*]}}"
  umount "$mnt" || exit 2
done

echo "disk-full sweep: $(wc -w <<< "$sizes") sizes, $made stores made, $refused refused;" \
  "corrupt or unusable: $bad, leftover files: $leftovers"
((bad == 0 && leftovers == 0))
