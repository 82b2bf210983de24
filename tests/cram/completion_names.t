The generated bash completion offers the names the host has, read from the
store the line names (--store, else TARVEX_HOST_STORE, else the default),
through the function bash calls at a Tab.

  $ . "$TESTDIR/setup.sh"
  $ . "$TARVEX_BIN_DIR/../share/bash-completion/completions/tarvexcli"
  $ . "$TARVEX_BIN_DIR/../share/bash-completion/completions/tarvex-host"
  $ tab() {
  >   COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE}
  >   local function
  >   function=$(complete -p "$1" | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
  >   COMPREPLY=()
  >   "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  >   ((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}"
  > }

No store yet: the default host's names, and still no store afterwards.

  $ tab tarvexcli storage nfs41 remove -v ''
  nfs41-home
  $ tab tarvexcli storage kovra snapshot mount --volume-label ''
  prod-db
  datastore1
  $ tab tarvexcli storage kovra snapshot resignature -u 4
  4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6
  $ ls state
  ls: cannot access 'state': No such file or directory
  [2]

A store of its own, with a NAS volume added: the names come from it.

  $ tarvexcli --store "$PWD/s.db" storage nfs add -H 192.0.2.9 -s /export/mine -v mine
  true
  $ tab tarvexcli --store "$PWD/s.db" storage filesystem unmount -l da
  datastore1
  datastore2
  $ tab tarvexcli --store "$PWD/s.db" storage nfs remove -v ''
  nfs-iso
  nfs-backup
  pe-vobj0
  nfs-legacy
  mine
  $ TARVEX_HOST_STORE=$PWD/s.db tab tarvexcli storage nfs param get -v m
  mine
  $ tab tarvexcli storage nfs remove -v m
  $ ls
  s.db
  $ tab tarvexcli storage nfs add -v ''

Each command's own kind of volume: Kovra ones for the Kovra commands, any for
the file-system ones.

  $ tab tarvexcli storage kovra upgrade -l n
  new-lun
  $ tab tarvexcli storage filesystem mount --volume-label n
  new-lun
  nfs-iso
  nfs-backup
  nfs-legacy
  nfs41-home

Field names after --fields, in any case, after a comma too, and after '='.

  $ tab tarvexcli storage filesystem list --fields 'volume\ name,m'
  volume\ name,Mount\ Point
  volume\ name,Mounted
  $ tab tarvexcli storage filesystem list --fields = f
  Free
  $ tab tarvexcli storage filesystem list --format ''
  table
  simple
  json
  csv
  xml

An option given once is not offered again; a short option takes no '='.

  $ tab tarvexcli storage filesystem unmount -l datastore1 ''
  --volume-path
  --volume-uuid
  --no-persist
  --unmount-all-kovra
  --help
  $ tab tarvexcli --format json -
  --fields
  --no-header
  --store
  --help
  -h
  --version
  $ tab tarvexcli storage kovra reclaim config set -m = f
  $ tab tarvexcli storage kovra reclaim config set -m f
  fixed

Faults of tarvex-host: the operations and the objects of the store.

  $ tab tarvex-host fault add --operation GetFileSystemBy
  GetFileSystemByLabel
  GetFileSystemByPath
  GetFileSystemByUUID
  GetFileSystemByUuidEx
  $ tab tarvex-host --store "$PWD/s.db" fault add --operation Mount --object mi
  mine
