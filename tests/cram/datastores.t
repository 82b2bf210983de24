Datastores as a user manages them on the default host: the list in table and
json, unmount and mount with the agent's notifications, what a restart
undoes, and actions that answer "true" or the host's failure.

  $ . "$TESTDIR/setup.sh"
  $ mounted() {
  >   tarvexcli --format json storage filesystem list | jq -r ".[] | select(.\"Volume Name\" == \"$1\") | .Mounted"
  > }

The table has every volume, as the json does.

  $ tarvexcli storage filesystem list > table
  $ head -1 table
  Mount Point  +Volume Name  +UUID  +Mounted  +Type  +Size  +Free (re)
  $ tarvexcli --format json storage filesystem list > json
  $ [ $(($(wc -l <table) - 2)) = $(jq length json) ]
  $ jq -r '.[] | select(."Volume Name" == "legacy3") | "\(.Type) \(.Mounted)"' json
  Kovra-3 true

Unmounting tells the datastore agent first; mounting again, by UUID in the
list.

  $ tarvexcli storage filesystem unmount -l datastore1
  true
  $ mounted datastore1
  false
  $ events
  PreUnmount datastore1
  $ tarvexcli storage filesystem mount --volume-label datastore1
  true
  $ tarvexcli --format json storage filesystem list -u 5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3 | jq '.[0].Mounted'
  true

A mistyped command suggests the nearest one that holds what was typed:
unmount for umount, not its opposite.

  $ tarvexcli storage filesystem umount -l ssd-fast
  tarvexcli: Unknown namespace or command 'umount' in 'storage filesystem': did you mean 'unmount'?
  [2]

A busy volume fails, and the agent hears of the failure too.

  $ tarvex-host events --clear
  $ tarvexcli storage filesystem unmount -l vm-busy
  Volume 'vm-busy' cannot be unmounted. Reason: Busy
  [1]
  $ events
  PreUnmount vm-busy
  FailedUnmount vm-busy

A mount for this boot only is undone by a restart of the host.

  $ tarvexcli storage filesystem mount -l scratch --no-persist
  true
  $ mounted scratch
  true
  $ tarvex-host restart
  $ mounted scratch
  false

Actions answer "true", and the host's failure once a fault is armed (the
restore still prints its result).

  $ tarvexcli storage filesystem automount
  true
  $ tarvexcli storage filesystem rescan
  true
  $ tarvex-host fault add --operation RescanKovra --message "Rescan of adapter hbadp2 failed: timed out"
  $ tarvexcli storage filesystem rescan
  Rescan of adapter hbadp2 failed: timed out
  [1]
  $ tarvexcli storage internal nmp boot restore
  true
  $ tarvex-host fault add --operation RestorePsaConfig --message "Claim rules could not be loaded"
  $ tarvexcli storage internal nmp boot restore 2>err
  true
  [1]
  $ cat err
  Claim rules could not be loaded

The internal namespace, and a setting read back.

  $ tarvexcli storage internal --help | grep -E '^  (core|clusteredkadisk) '
    core             Tarvex core storage commands. No operations are currently internal only.
    clusteredkadisk  Manage clustered Kadisk support.
  $ tarvexcli storage internal clusteredkadisk set -l datastore1 --enabled true
  true
  $ tarvexcli --format json storage internal clusteredkadisk get -l datastore1 | jq .Enabled
  true
