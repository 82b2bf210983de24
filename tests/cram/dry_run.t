--dry-run: the command runs as always, its output and exit status as
always, then every change is undone (the store's bytes stay the same) and
what it would change is listed on stderr, after the output: as lines, or
as JSON with --dry-run=json. The datastore agent is not run; its command
line is listed.

  $ . "$TESTDIR/setup.sh"
  $ tarvex-host init
  $ sum() { sha256sum state/tarvex/host.db | cut -c1-16; }
  $ before=$(sum)
  $ tarvexcli --dry-run storage filesystem unmount -l datastore1
  true
  dry run: nothing was changed; the command would change:
    host 'hvx-lab-01.example.test'
      iorm.signals: 0 -> 1
    volume 'datastore1'
      mounted: true -> false
      persistent: true -> false
    heartbeat slot 'datastore1/5f1e2d40-0a1b2c3d-4e5f-027a3ea1b2c3': removed
  dry run: the datastore agent would be run as:
    /usr/lib/tarvex/corvd/bin/notifyDatastore.py -t PreUnmount -i stdin (standard input: datastore1)
  $ [ "$(sum)" = "$before" ] && tarvex-host events
  $ tarvexcli storage kovra lockmode set -s -l datastore1 --dry-run=json 2>&1 >/dev/null | jq -c '.changes[] | [.kind, .name, .fields]'
  ["volume","datastore1",[{"field":"kovra.lock_mode","old":16,"new":64}]]
  ["heartbeat slot","datastore1/5f1e2d40-0a1b2c3d-4e5f-027a3ea1b2c3",[{"field":"lock_mode","old":4,"new":0}]]

An object added or removed carries its whole dump; the notifications are
a list of command lines and standard inputs.

  $ tarvexcli --dry-run=json storage nfs add -H 192.0.2.10 -s /share/x -v nfs-x 2>&1 >/dev/null | jq -c '.changes[] | [.kind, .name, .change, .new.nfs.share]'
  ["NAS mount","nfs-x","added","/share/x"]
  $ tarvexcli --dry-run=json storage nfs remove -v nfs-iso 2>&1 >/dev/null | jq -c '(.changes[] | [.kind, .name, .change, .old.uuid]), .notifications'
  ["NAS mount","nfs-iso","removed","a0b1c2d3-e4f5a6b7"]
  [{"command":"/usr/lib/tarvex/corvd/bin/notifyDatastore.py -t PreUnmount -i stdin","input":"nfs-iso"}]

A name with control bytes in it stays on its line.

  $ tarvexcli --dry-run storage nfs add -H 192.0.2.10 -s /share/t -v "$(printf 'a\tb')"
  true
  dry run: nothing was changed; the command would change:
    NAS mount "a\tb": added

A command that only reads changes nothing; one that fails lists what it
changed up to the failure, with its own exit status.

  $ tarvexcli --dry-run storage filesystem list >/dev/null
  dry run: no change
  $ tarvexcli storage filesystem unmount -l vm-busy --dry-run
  Volume 'vm-busy' cannot be unmounted. Reason: Busy
  dry run: nothing was changed; the command would change:
    host 'hvx-lab-01.example.test'
      iorm.signals: 0 -> 1
  dry run: the datastore agent would be run as:
    /usr/lib/tarvex/corvd/bin/notifyDatastore.py -t PreUnmount -i stdin (standard input: vm-busy)
    /usr/lib/tarvex/corvd/bin/notifyDatastore.py -t FailedUnmount -i stdin (standard input: vm-busy)
  [1]

tarvex-host's verbs too, but init, which makes the store.

  $ tarvex-host --dry-run feature set 2000 on
  dry run: nothing was changed; the command would change:
    host 'hvx-lab-01.example.test'
      features.2000: null -> true
  $ tarvex-host --dry-run=json fault add --operation Mount --object x --message m 2>&1 | jq -c '.changes[] | [.kind, .name, .change]'
  ["fault","Mount@x","added"]
  $ tarvex-host --dry-run init --force
  tarvex-host init: option '--dry-run' does not apply: init makes the store
  [2]
  $ [ "$(sum)" = "$before" ] && tarvex-host fault list && tarvex-host feature list | grep 2000
  No faults are armed.
  [1]

Usage errors run nothing and list nothing; a store that cannot be used is
refused as without --dry-run.

  $ tarvexcli --dry-run=xml storage filesystem list
  tarvexcli: Invalid value 'xml' for --dry-run: expected json, or no value
  [2]
  $ tarvexcli --dry-run storage filesystem list --dry-run
  tarvexcli: Option --dry-run may be given only once
  [2]
  $ tarvex-host --dry-run=yes restart
  tarvex-host: option '--dry-run' takes json or no value
  [2]
A store that does not exist yet is not made: the dry run works on the
host a first use would make, in memory.

  $ tarvexcli --store new.db --dry-run storage kovra pbcache reset
  true
  dry run: nothing was changed; the command would change:
    host 'hvx-lab-01.example.test'
      pbcache.working_set_max: 4398046511104 -> 2199023255552
      pbcache.capacity_miss_ratio: 3 -> 0
  $ ls new.db*
  ls: cannot access 'new.db*': No such file or directory
  [2]
  $ echo junk > junk.db
  $ tarvexcli --store junk.db --dry-run storage filesystem list
  tarvexcli: junk.db: not a SQLite database
  [3]
  $ cat junk.db
  junk
