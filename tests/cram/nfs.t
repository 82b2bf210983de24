NFS v3 volumes as a user manages them with tarvexcli and tarvex-host: add,
list, parameters, the preunmount state, removal with the agent's
notifications, and what the two feature switches (145 strelnic binding, 284
preunmount) change.

  $ . "$TESTDIR/setup.sh"
  $ names() { tarvexcli --format json storage nfs list "$@" | jq -r '.[]."Volume Name"'; }

  $ tarvexcli storage nfs add -H 192.0.2.77 -s /exports/a -v nas-a
  true
  $ tarvexcli storage nfs add --host-strelnic 192.0.2.78:tvn0 -s /exports/b -v nas-b
  true
  $ tarvexcli storage nfs list
  Volume Name  Host           Share           Strelnic  Accessible  Mounted  Read-Only  isPE   Hardware Acceleration
  -----------  -------------  --------------  --------  ----------  -------  ---------  -----  ---------------------
  nfs-iso      192.0.2.10     /exports/iso              true        true     true       false  Not Supported
  nfs-backup   198.51.100.20  /vol/backup     tvn1      true        true     false      false  Supported
  nfs-legacy   203.0.113.50   /export/legacy            false       false    false      false  Unknown
  nas-a        192.0.2.77     /exports/a                true        true     false      false  Unknown
  nas-b        192.0.2.78     /exports/b      tvn0      true        true     false      false  Unknown
  $ names --pe-only
  pe-vobj0

The strelnic parameter is configured at once and bound at the next mount.

  $ tarvexcli storage nfs param set -v nas-a -q 32 -I tvn1
  true
  $ tarvexcli --format json storage nfs param get -v nas-a | jq -r '.[] | "\(."Volume Name") \(.MaxQueueDepth) \(.Strelnic)"'
  nas-a 32 tvn1
  $ tarvexcli --format json storage nfs list | jq -r '.[] | select(."Volume Name" == "nas-a").Strelnic'
  

  $ tarvexcli storage nfs preunmountstate enter -v nas-a
  true
  $ tarvexcli storage nfs preunmountstate exit -v nas-a
  true

Removal tells the agent, and the volume leaves both lists.

  $ tarvexcli storage nfs remove -v nas-a
  true
  $ names
  nfs-iso
  nfs-backup
  nfs-legacy
  nas-b
  $ tarvexcli --format json storage filesystem list | jq -r '.[]."Volume Name" | select(startswith("nas-"))'
  nas-b
  $ events
  PreUnmount nas-a

A queue depth out of range is a usage error and changes nothing.

  $ tarvexcli storage nfs param set -v nfs-backup -q 0
  tarvexcli: Invalid value '0' for --maxqueuedepth: expected an integer from 1 to 4294967295
  [2]
  $ tarvexcli storage nfs add -H 192.0.2.77 -s /a -v nas-a --unsupported-mount-retry --unsupported-queue-depth -1
  tarvexcli: Invalid value '-1' for --unsupported-queue-depth: expected an integer from 1 to 4294967295
  [2]
  $ tarvexcli --format json storage nfs param get -v all | jq -r '.[] | "\(."Volume Name") \(.MaxQueueDepth)"'
  nfs-iso 4294967295
  nfs-backup 64
  nfs-legacy 4294967295
  nas-b 4294967295

With preunmount off its commands are gone; with strelnic binding off --host
is required and the Strelnic column is gone.

  $ tarvex-host feature set 284 off
  $ tarvexcli storage nfs --help | grep -E 'param|preunmountstate'
    param  Operations on volume parameters of NAS filesystems.
  $ tarvexcli storage nfs preunmountstate enter -v nfs-iso
  tarvexcli: Unknown namespace or command 'preunmountstate' in 'storage nfs'
  [2]
  $ tarvex-host feature set 145 off
  $ tarvexcli storage nfs add -s /exports/c -v nas-c
  tarvexcli: Missing required option --host
  [2]
  $ tarvexcli storage nfs list | head -1
  Volume Name  Host           Share           Accessible  Mounted  Read-Only  isPE   Hardware Acceleration
  $ tarvexcli --format json storage nfs list | jq -r 'map(keys_unsorted | join(",")) | unique[]'
  Volume Name,Host,Share,Accessible,Mounted,Read-Only,isPE,Hardware Acceleration
  $ names
  nfs-iso
  nfs-backup
  nfs-legacy
  nas-b
