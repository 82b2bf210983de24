Unresolved snapshots in a cluster. A snapshot is the SAN's: every host that
reaches its devices lists it. A mount that keeps its signature is each
host's own; the others see the snapshot in use while a live host has it
mounted. A resignature is done once, for every host.

  $ . "$TESTDIR/setup.sh"
  $ tarvex-host init --hosts host-a,host-b,host-c
  $ reasons() {
  >   tarvexcli --on-host $1 --format json storage kovra snapshot list |
  >     jq -r '.[] | "\(."Volume Name"): mount \(."Reason for un-mountability" | select(. != "") // "ok"); resignature \(."Reason for non-resignaturability" | select(. != "") // "ok")"'
  > }
  $ reasons host-b
  prod-db: mount ok; resignature ok
  datastore1: mount the original volume is still online; resignature some extents missing

host-a mounts prod-db for this boot, keeping its signature. It no longer
lists it; host-b and host-c see it in use, and neither can resolve it.

  $ tarvexcli --on-host host-a storage kovra snapshot mount -n -l prod-db
  true
  $ reasons host-a
  datastore1: mount the original volume is still online; resignature some extents missing
  $ reasons host-c
  prod-db: mount the volume is being actively used; resignature the volume is being actively used
  datastore1: mount the original volume is still online; resignature some extents missing
  $ tarvexcli --on-host host-b storage kovra snapshot mount -l prod-db
  Cannot mount snapshot 'prod-db' (4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6): the volume is being actively used
  true
  [1]

host-a's restart undoes its mount: the volume goes, the snapshot is
resolvable again everywhere. The original of datastore1 counts only while
a live host has it mounted.

  $ tarvex-host --on-host host-a restart
  $ reasons host-b | head -n 1
  prod-db: mount ok; resignature ok
  $ for h in host-a host-b; do tarvexcli --on-host $h storage filesystem unmount -l datastore1 > /dev/null; done
  $ tarvex-host host crash host-c
  $ reasons host-a | tail -n 1
  datastore1: mount some extents missing; resignature some extents missing
  $ tarvex-host host boot host-c

Two hosts resignature prod-db at the same moment: one new volume, made
once for the SAN. The other host is told that the snapshot is no longer
unresolved, or, when it looked later, that there is none by that label.
The snapshot is gone on every host, and the other hosts find the new volume
at their next rescan.

  $ for h in host-a host-b; do
  >   tarvexcli --on-host $h storage kovra snapshot resignature -l prod-db > $h.out 2>&1 &
  > done; wait
  $ cat host-a.out host-b.out | grep -c -e 'is no longer unresolved$' -e "^No unresolved Kovra snapshots with volume label 'prod-db' found.$"
  1
  $ tarvex-host dump | jq '[.volumes[] | select(.name | test("^snap-[0-9a-f]{8}-prod-db$"))] | length'
  1
  $ for h in host-a host-b host-c; do reasons $h | cut -d: -f1 | paste -sd' '; done
  datastore1
  datastore1
  datastore1
  $ made() { tarvexcli --on-host $1 storage filesystem list | awk '$2 ~ /^snap-[0-9a-f]+-prod-db$/ {n++} END {print n + 0}'; }
  $ made host-c
  0
  $ tarvexcli --on-host host-c storage filesystem rescan
  true
  $ made host-c
  1
