Kovra snapshots on the default host: listing, mounting, resignaturing, and
the extent lists that follow them. (What a restart does to a mount for this
boot only is the host's rule, shown for datastores in datastores.t.)

  $ . "$TESTDIR/setup.sh"
  $ prod_db() {
  >   tarvexcli --format json storage filesystem list |
  >     jq -r '.[] | select(."Volume Name" | contains("prod-db")) | "\(."Volume Name") \(.UUID) \(.Mounted)"'
  > }
  $ snapshots() { tarvexcli --format json storage kovra snapshot list | jq -r '.[]."Volume Name"'; }

  $ tarvexcli storage kovra snapshot list
  4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6
     Volume Name: prod-db
     Kovra UUID: 4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6
     Can mount: true
     Reason for un-mountability:
     Can resignature: true
     Reason for non-resignaturability:
     Unresolved Extent Count: 1
  
  5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3
     Volume Name: datastore1
     Kovra UUID: 5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3
     Can mount: false
     Reason for un-mountability: the original volume is still online
     Can resignature: false
     Reason for non-resignaturability: some extents missing
     Unresolved Extent Count: 2
  

Mounted: a volume with its extent, and no longer a snapshot.

  $ tarvexcli storage kovra snapshot mount -l prod-db
  true
  $ prod_db
  prod-db 4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6 true
  $ snapshots
  datastore1
  $ tarvexcli --format json storage kovra extent list |
  >   jq -r '.[] | select(."Volume Name" == "prod-db") | "\(."Extent Number") \(."Device Name") \(.Partition)"'
  0 naa.6027a3e41b2c3d4e5f60718293a4b5c1 1

Resignatured, on a fresh host: a new label and UUID, mounted.

  $ tarvex-host init --force
  $ tarvexcli storage kovra snapshot resignature -l prod-db
  true
  $ prod_db | grep -Ec '^snap-[0-9a-f]{8}-prod-db [0-9a-f]{8}-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{12} true$'
  1
  $ prod_db | grep -c 4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6
  0
  [1]

What remains: the one extent of datastore1 the host found (its empty slot
makes no row).

  $ tarvexcli storage kovra snapshot extent list
  Volume Name  Kovra UUID                           Extent Number  Device Name                           Partition  Start  End
  -----------  -----------------------------------  -------------  ------------------------------------  ---------  -----  ------
  datastore1   5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3  0              naa.6027a3e41b2c3d4e5f60718293a4b5c2  1          0      255999
  $ snapshots
  datastore1
