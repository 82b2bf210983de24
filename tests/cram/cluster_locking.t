A Kovra volume's locking mode across the hosts of a cluster. The host that
asks moves at once; the change completes when no live slot disagrees, and
until then every host reads the same pending mode. Each other host moves
when it unmounts, mounts again, crashes or boots.

  $ . "$TESTDIR/setup.sh"
  $ tarvex-host init --hosts host-a,host-b,host-c
  $ mode() { tarvexcli --on-host $1 storage kovra lockmode list -l $2 --format csv --fields "locking mode" | tail -n 1 | tr -d '\r'; }
  $ slots() {
  >   tarvexcli --on-host host-a --format json storage kovra host list -l $1 |
  >     jq -r '.[] | "\(."MAC Address") \(."Locking Mode") \(.Status)"'
  > }

An upgrade on datastore2, asked by host-a. A host outside the simulation
uses ATS-only already; its dead slot does not count; host-b and host-c
still use ATS+SCSI, so the upgrade is pending, the same on every host.

  $ tarvexcli --on-host host-a storage kovra lockmode set --ats -l datastore2
  true
  $ for h in host-a host-b host-c; do mode $h datastore2; done
  ATS UPGRADE PENDING
  ATS UPGRADE PENDING
  ATS UPGRADE PENDING
  $ slots datastore2
  02:7a:3e:a1:b2:c3 ATS-only Normal
  02:7a:3e:5b:c8:d9 ATS-only Normal
  02:7a:3e:5c:22:33 ATS+SCSI ATS Upgrade Pending
  02:7a:3e:10:00:01 ATS+SCSI ATS Upgrade Pending
  02:7a:3e:10:00:02 ATS+SCSI ATS Upgrade Pending

host-b unmounts and mounts again: it comes back with ATS-only. host-c
crashes: its slot stays, dead, and the upgrade is complete. When host-c
boots it mounts the volume again with ATS-only.

  $ tarvexcli --on-host host-b storage filesystem unmount -l datastore2 > /dev/null
  $ tarvexcli --on-host host-b storage filesystem mount -l datastore2 > /dev/null
  $ mode host-a datastore2
  ATS UPGRADE PENDING
  $ tarvex-host host crash host-c
  $ mode host-b datastore2
  ATS
  $ tarvex-host host boot host-c
  $ slots datastore2
  02:7a:3e:a1:b2:c3 ATS-only Normal
  02:7a:3e:5b:c8:d9 ATS-only Normal
  02:7a:3e:5c:22:33 ATS+SCSI INVALID (needs unmount)
  02:7a:3e:10:00:02 ATS-only Normal
  02:7a:3e:10:00:01 ATS-only Normal

A downgrade of ds-prod-01 waits for host-b and host-c too; an unmount is
their part of it.

  $ tarvexcli --on-host host-c storage kovra lockmode set --scsi -l ds-prod-01
  true
  $ mode host-a ds-prod-01
  ATS DOWNGRADE PENDING
  $ tarvexcli --on-host host-a storage filesystem unmount -l ds-prod-01 > /dev/null
  $ tarvexcli --on-host host-b storage filesystem unmount -l ds-prod-01 > /dev/null
  $ mode host-a ds-prod-01
  ATS+SCSI
  $ slots ds-prod-01
  02:7a:3e:10:00:02 ATS+SCSI Normal

A host that cannot use ATS-only mounts an ATS+SCSI volume, holds back an
upgrade while it is live with it mounted (named in the refusal), and cannot
mount a volume that uses ATS-only or is heading for it.

  $ tarvex-host host add --no-ats-only host-d
  $ tarvex-host host list
  NAME    STATE  MAC                MOUNTED  ATS-ONLY
  host-a  up     02:7a:3e:a1:b2:c3  11       yes
  host-b  up     02:7a:3e:10:00:01  11       yes
  host-c  up     02:7a:3e:10:00:02  12       yes
  host-d  up     02:7a:3e:10:00:03  0        no
  $ tarvexcli --on-host host-d storage filesystem mount -l ds-prod-01 > /dev/null
  $ tarvexcli --on-host host-a storage kovra lockmode set --ats -l ds-prod-01
  Cannot set ATS-only locking on volume 'ds-prod-01': host 'host-d' cannot use ATS-only locking
  [1]
  $ tarvexcli --on-host host-d storage filesystem mount -l datastore2
  Cannot mount volume 'datastore2': the volume uses ATS-only locking, which this host cannot use
  [1]
  $ tarvex-host host add --no-ats-only
  tarvex-host host add: expected one host name
  [2]
  $ tarvex-host host crash --no-ats-only host-d
  tarvex-host host crash: unknown option '--no-ats-only'
  [2]

A cluster fixture says so with "ats_only": false, and a dump keeps it.

  $ tarvex-host dump | jq -c '[.hosts[] | select(has("ats_only")) | {host, ats_only}]'
  [{"host":"host-d","ats_only":false}]
