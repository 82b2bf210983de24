The generated bash completion offers the names the host has, read from the
store the line names (--store, else TARVEX_HOST_STORE, else the default),
through the function bash calls at a Tab (complete_line in setup.sh).

  $ . "$TESTDIR/setup.sh"

No store yet: the default host's names, and still no store afterwards.

  $ complete_line 'tarvexcli storage nfs41 remove -v '
  nfs41-home
  $ complete_line 'tarvexcli storage kovra snapshot mount --volume-label '
  datastore1 prod-db
  $ complete_line 'tarvexcli storage kovra snapshot resignature -u 4'
  4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6
  $ ls state
  ls: cannot access 'state': No such file or directory
  [2]

A store of its own, with a NAS volume added: the names come from it.

  $ tarvexcli --store "$PWD/s.db" storage nfs add -H 192.0.2.9 -s /export/mine -v mine
  true
  $ complete_line "tarvexcli --store $PWD/s.db storage filesystem unmount -l da"
  datastore1 datastore2
  $ complete_line "tarvexcli --store $PWD/s.db storage nfs remove -v "
  mine nfs-backup nfs-iso nfs-legacy pe-vobj0
  $ TARVEX_HOST_STORE=$PWD/s.db complete_line 'tarvexcli storage nfs param get -v m'
  mine
  $ complete_line 'tarvexcli storage nfs remove -v m'
  $ ls
  s.db
  s.db-shm
  s.db-wal
  $ complete_line 'tarvexcli storage nfs add -v '

A store path with a ':' in it, which bash splits into three words; a ':' in
another option's value is no part of the store's path.

  $ tarvexcli --store "$PWD/a:b.db" storage nfs add -H 192.0.2.9 -s /export/colon -v colon
  true
  $ complete_line "tarvexcli --store $PWD/a : b.db storage nfs remove -v c"
  colon
  $ complete_line "tarvexcli --store $PWD/s.db --fields a : b storage nfs remove -v m"
  mine

Each command's own kind of volume: Kovra ones for the Kovra commands, the
unmounted ones for mount and the mounted ones for unmount, as the store says.

  $ complete_line 'tarvexcli storage kovra upgrade -l n'
  new-lun
  $ complete_line 'tarvexcli storage filesystem mount --volume-label n'
  new-lun nfs-legacy
  $ complete_line 'tarvexcli storage filesystem unmount -l n'
  nfs-backup nfs-iso nfs41-home

Field names after --fields, in any case, after a comma too, and after '='.

  $ complete_line 'tarvexcli storage filesystem list --fields volume\ name,m'
  volume\ name,Mount\ Point volume\ name,Mounted
  $ complete_line 'tarvexcli storage filesystem list --fields = f'
  Free
  $ complete_line 'tarvexcli storage filesystem list --format '
  csv json simple table xml

An option given once is not offered again; a short option takes no '='.

  $ complete_line 'tarvexcli storage filesystem unmount -l datastore1 '
  --help --no-persist --unmount-all-kovra --volume-path --volume-uuid
  $ complete_line 'tarvexcli --format json -'
  --dry-run --fields --help --no-header --on-host --store --version -h
  $ complete_line 'tarvexcli storage kovra reclaim config set -m = f'
  $ complete_line 'tarvexcli storage kovra reclaim config set -m f'
  fixed

The hosts of the store after --on-host, for both programs.

  $ complete_line 'tarvexcli --on-host '
  hvx-lab-01.example.test
  $ complete_line "tarvex-host --store $PWD/s.db --on-host h"
  hvx-lab-01.example.test
  $ tarvex-host --store c.db init --hosts host-a,host-b,other
  $ complete_line "tarvex-host --store $PWD/c.db host crash host-"
  host-a host-b
  $ complete_line "tarvexcli --store $PWD/c.db --on-host "
  host-a host-b other
  $ complete_line "tarvex-host --store $PWD/c.db host crash host-a "
  $ complete_line "tarvex-host --store $PWD/c.db device detach naa.6027a3e1"
  naa.6027a3e1005a2b3c4d5e6f7a8b9c0d11

An SQLite file of another program offers no names, not even a host's.

  $ sqlite3 other.db 'CREATE TABLE t(x)'
  $ complete_line "tarvexcli --store $PWD/other.db --on-host "
  $ complete_line "tarvexcli --store $PWD/other.db storage nfs remove -v "

Faults of tarvex-host: the operations and the objects of the store.

  $ complete_line 'tarvex-host fault add --operation GetFileSystemBy'
  GetFileSystemByLabel GetFileSystemByPath GetFileSystemByUUID GetFileSystemByUuidEx
  $ complete_line "tarvex-host --store $PWD/s.db fault add --operation Mount --object mi"
  mine
