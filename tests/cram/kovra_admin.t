Kovra administration on the default host: upgrade, unmap, space reclamation
settings, locking mode and the pointer-block cache statistics.

  $ . "$TESTDIR/setup.sh"
  $ volume() {  # NAME FILTER over the volume's row in `filesystem list`
  >   tarvexcli --format json storage filesystem list | jq -r ".[] | select(.\"Volume Name\" == \"$1\") | $2"
  > }
  $ reclaimed() { tarvex-host dump | jq ".volumes[] | select(.name == \"$1\").kovra.reclaimed"; }

  $ tarvexcli storage kovra upgrade -l legacy3
  true
  $ volume legacy3 .Type
  Kovra-5
  $ tarvexcli storage kovra upgrade -l legacy3
  Cannot upgrade volume 'legacy3': only a Kovra-3 volume can be upgraded to Kovra-5, this one is Kovra-5
  [1]

Unmap releases the free space in whole iterations of the reclaim unit (200
blocks of 1 MiB by default) and leaves the free space as it was.

  $ volume datastore1 .Free
  343597383680
  $ tarvexcli storage kovra unmap -l datastore1
  true
  $ reclaimed datastore1
  343513497600
  $ volume datastore1 .Free
  343597383680
  $ tarvexcli storage kovra unmap -u 58b3c5d7-2e4f6a8b-3c5d-027a3ea1b2c3 -n 1
  true
  $ reclaimed ssd-fast
  206158430208

Reclaim settings, read back for people and for machines; a priority alone
goes back to the priority method without bandwidth.

  $ tarvexcli storage kovra reclaim config set -l datastore1 -m fixed -b 250 -g 2097152
  true
  $ tarvexcli storage kovra reclaim config get -l datastore1
     Reclaim Granularity: 2097152 Bytes
     Reclaim Priority:
     Reclaim Method: fixed
     Reclaim Bandwidth: 250 MB/s
  $ tarvexcli --format table storage kovra reclaim config get -l datastore1
  Reclaim Granularity (Bytes)  Reclaim Priority  Reclaim Method  Reclaim Bandwidth (MB/s)
  ---------------------------  ----------------  --------------  ------------------------
  2097152                                        fixed           250
  $ tarvexcli --format json storage kovra reclaim config get -l datastore1 | jq -r '[.[] | tostring] | join("|")'
  2097152||fixed|250
  $ tarvexcli storage kovra reclaim config set -l datastore1 -p high
  true
  $ tarvexcli --format json storage kovra reclaim config get -l datastore1 | jq -r '[.[] | tostring] | join("|")'
  0|high|priority|0

ATS-only locking shows in both lists. This host's own slot moves at once;
a slot that is not alive does not count, so ssd-fast and datastore2 (whose
other live host uses ATS-only already) are ATS-only at once, and the dead
slots read as needing an unmount. Going back on datastore1 waits for its
other live host, which still uses ATS-only.

  $ modes() {
  >   tarvexcli --format json storage kovra lockmode list -l $1 | jq -r '.[] | "\(."Locking Mode") \(."ATS Upgrade Modes")"'
  > }
  $ hosts() { tarvexcli --format json storage kovra host list -l $1 | jq -r '[.[].Status] | join(",")'; }
  $ hosts ssd-fast
  Normal
  $ tarvexcli storage kovra lockmode set --ats -l ssd-fast
  true
  $ modes ssd-fast
  ATS No upgrade needed
  $ hosts ssd-fast
  INVALID (needs unmount)
  $ tarvexcli storage kovra lockmode set -a -l datastore2
  true
  $ modes datastore2
  ATS No upgrade needed
  $ hosts datastore2
  Normal,Normal,INVALID (needs unmount)
  $ tarvexcli storage kovra lockmode set -s -l datastore1
  true
  $ modes datastore1
  ATS DOWNGRADE PENDING Online/Offline
  $ hosts datastore1
  Normal,ATS Downgrade Pending

A reset clears the miss ratio and the working set's maximum.

  $ tarvexcli storage kovra pbcache get
     Cache Capacity Miss Ratio: 3 %
     Cache Size: 768 MiB
     Cache Size Max: 1024 MiB
     Cache Usage: 75 %
     Cache Working Set: 2 TiB
     Cache Working Set Max: 4 TiB
     Kovra Heap Overhead: 1536 KiB
     Kovra Heap Size: 80 MiB
     Kovra Heap Size Max: 256 MiB
  $ tarvexcli storage kovra pbcache reset
  true
  $ tarvexcli --format json storage kovra pbcache get | jq -r '[.[] | tostring] | join(" ")'
  0 768 1024 75 2 2 1536 80 256
