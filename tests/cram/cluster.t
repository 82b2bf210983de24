Several hosts in one store: a cluster made from the default host, a host
chosen with --on-host or TARVEX_HOST, heartbeat slots that follow each
host's mounts, hosts that crash and boot, and what is refused.

  $ . "$TESTDIR/setup.sh"
  $ tarvex-host init --hosts host-a,host-b,host-c
  $ tarvex-host host list
  NAME    STATE  MAC                MOUNTED  ATS-ONLY
  host-a  up     02:7a:3e:a1:b2:c3  12       yes
  host-b  up     02:7a:3e:10:00:01  12       yes
  host-c  up     02:7a:3e:10:00:02  12       yes
  $ tarvexcli storage filesystem list
  tarvexcli: the store has several hosts (host-a, host-b, host-c): choose one with --on-host NAME or TARVEX_HOST
  [2]
  $ tarvexcli --on-host host-d storage filesystem list
  tarvexcli: unknown host 'host-d': did you mean 'host-a'?
  [2]

Unmounting datastore1 on each host in turn takes one slot away, as every
host sees it; the slot of a host outside the simulation stays.

  $ slots() { for h in host-a host-b host-c; do TARVEX_HOST=$h tarvexcli --format json storage kovra host list -l datastore1 | jq -r "map(.\"MAC Address\") | \"$h sees \" + join(\" \")"; done; }
  $ slots
  host-a sees 02:7a:3e:a1:b2:c3 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:01 02:7a:3e:10:00:02
  host-b sees 02:7a:3e:a1:b2:c3 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:01 02:7a:3e:10:00:02
  host-c sees 02:7a:3e:a1:b2:c3 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:01 02:7a:3e:10:00:02
  $ for h in host-a host-b host-c; do tarvexcli --on-host $h storage filesystem unmount -l datastore1 >/dev/null; slots; done
  host-a sees 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:01 02:7a:3e:10:00:02
  host-b sees 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:01 02:7a:3e:10:00:02
  host-c sees 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:01 02:7a:3e:10:00:02
  host-a sees 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:02
  host-b sees 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:02
  host-c sees 02:7a:3e:5b:c8:d9 02:7a:3e:10:00:02
  host-a sees 02:7a:3e:5b:c8:d9
  host-b sees 02:7a:3e:5b:c8:d9
  host-c sees 02:7a:3e:5b:c8:d9

What one host changes on a SAN volume is what every other host reads next.
Help needs no host.

  $ tarvexcli --on-host host-a storage kovra reclaim config set -l datastore2 -m fixed -b 200
  true
  $ tarvexcli --on-host host-b storage kovra reclaim config get -l datastore2 | grep Bandwidth
     Reclaim Bandwidth: 200 MB/s
  $ tarvexcli --on-host host-a storage kovra upgrade -l legacy3
  true
  $ tarvexcli --on-host host-c --fields "volume name,type" storage filesystem list | grep legacy3
  legacy3      Kovra-5
  $ tarvexcli storage kovra upgrade --help | head -1
  Usage: tarvexcli [global options] storage kovra upgrade [options]

A host that crashed keeps its slots, no longer alive; commands on it are
refused and change nothing until it boots.

  $ tarvex-host host crash host-b
  $ tarvexcli --on-host host-a --fields "mac address,status" storage kovra host list -l datastore2 -v quick
  MAC Address        Status
  -----------------  -----------------------
  02:7a:3e:a1:b2:c3  Normal
  02:7a:3e:5b:c8:d9  INVALID (needs unmount)
  02:7a:3e:10:00:02  Normal
  $ tarvex-host dump > before.json
  $ tarvexcli --on-host host-b storage filesystem unmount -l datastore2
  tarvexcli: host 'host-b' is down: boot it with 'tarvex-host host boot host-b'
  [3]
  $ tarvex-host dump | cmp - before.json
  $ tarvex-host host crash host-b
  tarvex-host: host 'host-b' is down already
  [1]
  $ tarvex-host host remove host-a
  tarvex-host: host 'host-a' is up with Kovra volumes mounted (datastore2, legacy3, ssd-fast, archive, vm-busy, ds-prod-01): unmount them or crash it first
  [1]
  $ tarvex-host host boot host-b
  $ tarvexcli --on-host host-a --fields "mac address,status" storage kovra host list -l datastore2 -v quick
  MAC Address        Status
  -----------------  -----------------------
  02:7a:3e:a1:b2:c3  Normal
  02:7a:3e:5b:c8:d9  INVALID (needs unmount)
  02:7a:3e:10:00:01  Normal
  02:7a:3e:10:00:02  Normal

The verbs that concern one host need it named; dump writes the whole
cluster, and init takes it back byte for byte.

  $ tarvex-host events
  tarvex-host: the store has several hosts (host-a, host-b, host-c): choose one with --on-host NAME or TARVEX_HOST
  [2]
  $ tarvexcli --on-host host-b storage filesystem unmount -l legacy3
  true
  $ tarvex-host --on-host host-b events | cut -c23-
  PreUnmount  "datastore1"
  PreUnmount  "legacy3"
  $ tarvex-host --on-host host-a events | cut -c23-
  PreUnmount  "datastore1"
  $ tarvex-host --on-host host-c fault add --operation GetCapacity --object datastore1 --message boom
  $ tarvexcli --on-host host-c storage filesystem list >/dev/null
  Error getting data for filesystem on '/kovra/volumes/5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3': boom, skipping.
  [1]
  $ tarvexcli --on-host host-b storage filesystem list >/dev/null
  $ tarvex-host dump > cluster.json
  $ tarvex-host init --force --fixture cluster.json
  $ tarvex-host dump | cmp - cluster.json
  $ jq -c '[.host, (.hosts | map(.host))]' cluster.json
  ["host-a",["host-b","host-c"]]

Hosts come and go. A host that is down goes with its slots.

  $ tarvex-host host add host-d
  $ tarvex-host host add host-d
  tarvex-host: host 'host-d' exists already
  [1]
  $ tarvex-host host crash host-c
  $ tarvex-host host remove host-c
  $ tarvex-host host list
  NAME    STATE  MAC                MOUNTED  ATS-ONLY
  host-a  up     02:7a:3e:a1:b2:c3  11       yes
  host-b  up     02:7a:3e:10:00:01  10       yes
  host-d  up     02:7a:3e:10:00:03  0        yes
  $ tarvex-host host remove nope
  tarvex-host: unknown host 'nope' (the store has: host-a, host-b, host-d)
  [2]
  $ tarvex-host --store one.db host remove hvx-lab-01.example.test
  tarvex-host: host 'hvx-lab-01.example.test' is the store's only host
  [1]
  $ tarvex-host host boot
  tarvex-host host boot: expected one host name
  [2]
  $ tarvex-host host start host-a
  tarvex-host host: unknown action 'start' (expected list, add, remove, crash or boot)
  [2]

A device goes only from hosts that do not use it; they forget its volumes
until a rescan finds them again.

  $ tarvex-host device detach naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04 naa.6027a3e2001c3a2f9e4d7b8c1a2b3c09
  tarvex-host: naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04: volume 'legacy3' is mounted on host 'host-a'
  tarvex-host: naa.6027a3e2001c3a2f9e4d7b8c1a2b3c09: volume 'ds-prod-01' is mounted on host 'host-a'
  tarvex-host: naa.6027a3e2001c3a2f9e4d7b8c1a2b3c09: volume 'ds-prod-01' is mounted on host 'host-b'
  [1]
  $ tarvex-host --on-host host-d device detach naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04
  $ tarvexcli --on-host host-d storage filesystem list | grep -c legacy3
  0
  [1]
  $ tarvex-host --on-host host-d device detach naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04
  tarvex-host: device 'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04' is detached already
  [1]
  $ tarvexcli --on-host host-a storage filesystem unmount -l legacy3
  true
  $ tarvex-host device detach naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04
  $ for h in host-a host-b host-d; do tarvexcli --on-host $h storage filesystem list | grep -c legacy3; done
  0
  0
  0
  [1]
  $ tarvex-host device attach naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04
  $ tarvex-host device attach naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04
  tarvex-host: device 'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04' is attached already
  [1]

A device a fixture marks detached is off the SAN: it comes back to all hosts
or to none.

  $ tarvex-host dump | sed '0,/"attached": true/s//"attached": false/' > off.json
  $ tarvex-host --store off.db init --fixture off.json
  $ tarvex-host --store off.db --on-host host-b device attach naa.6027a3e2001c3a2f9e4d7b8c1a2b3c01
  tarvex-host: device 'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c01' is detached from the SAN: attach it without --on-host
  [1]
  $ tarvexcli --on-host host-b storage filesystem rescan
  true
  $ tarvexcli --on-host host-b --fields "volume name,mounted" storage filesystem list | grep legacy3
  legacy3      true
  $ tarvex-host device detach naa.x naa.x
  tarvex-host device detach: device 'naa.x' is named twice
  [2]
  $ tarvex-host device detach naa.x
  tarvex-host: unknown device 'naa.x'
  [1]
  $ tarvex-host device unplug naa.x
  tarvex-host device: unknown action 'unplug' (expected detach or attach)
  [2]

Bad host lists write nothing.

  $ for hosts in a,b,a a,,b 'a,b c' "$(printf 'a,b\tc')" "$(seq -s, 64)"; do tarvex-host --store bad.db init --hosts "$hosts"; echo "exit $?"; done
  tarvex-host init: --hosts: host 'a' is named twice
  exit 2
  tarvex-host init: --hosts: '': a host name cannot be empty
  exit 2
  tarvex-host init: --hosts: 'b c': a host name has no blanks or control characters
  exit 2
  tarvex-host init: --hosts: 'b\tc': a host name has no blanks or control characters
  exit 2
  tarvex-host init: --hosts: too many hosts: volume 'datastore2' has 64 heartbeat slots
  exit 2
  $ ls bad.db
  ls: cannot access 'bad.db': No such file or directory
  [2]
  $ tarvex-host init --force --fixture cluster.json --hosts x,y
  tarvex-host init: --hosts makes a cluster of one host; cluster.json has several
  [2]

A store of the last release is migrated in place and dumps as it did.

  $ sqlite3 old.db < "$TARVEX_SOURCE_DIR/tests/hostctl/golden/schema3_default_host.sql"
  $ tarvex-host --store old.db dump > migrated.json
  $ tarvex-host --store new.db init
  $ tarvex-host --store new.db dump | grep -v '^  "mac": ' | cmp - migrated.json
  $ tarvex-host --store old.db host list
  NAME                     STATE  MAC  MOUNTED  ATS-ONLY
  hvx-lab-01.example.test  up     -    12       yes
