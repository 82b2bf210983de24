Global options mean the same before the command path, between its words and
after the command.

  $ . "$TESTDIR/setup.sh"
  $ tarvexcli storage filesystem list --format json --fields "volume name,mounted" | head -5
  [
    {
      "Volume Name": "datastore1",
      "Mounted": true
    },
  $ tarvexcli storage nfs --format csv list --fields "volume name,mounted"
  Volume Name,Mounted\r (esc)
  nfs-iso,true\r (esc)
  nfs-backup,true\r (esc)
  nfs-legacy,false\r (esc)
  $ tarvexcli --no-header storage filesystem list --fields uuid -u 5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3
  5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3
  $ tarvexcli storage kovra --store "$PWD/other.db" extent list --fields "volume name" | head -3; ls other.db
  Volume Name
  -----------
  datastore1
  other.db

--on-host (or TARVEX_HOST) names the host of the store to run on; a store
of one host takes its own name and needs none. An unknown host is a usage
error that names the nearest host, or all of them, and runs nothing; the
datastore agent serves the host named.

  $ tarvexcli storage nfs list --on-host hvx-lab-01.example.test --fields "volume name" --no-header
  nfs-iso
  nfs-backup
  nfs-legacy
  $ tarvexcli --on-host hvx-lab-01.example.tst storage filesystem unmount -l datastore2
  tarvexcli: unknown host 'hvx-lab-01.example.tst': did you mean 'hvx-lab-01.example.test'?
  [2]
  $ TARVEX_HOST=host-b tarvexcli storage filesystem unmount -l datastore2
  tarvexcli: unknown host 'host-b' (the store has: hvx-lab-01.example.test)
  [2]
  $ tarvexcli storage filesystem unmount -l datastore2 --on-host ''
  tarvexcli: Option --on-host needs a host name
  [2]
  $ tarvexcli storage filesystem list --fields "volume name,mounted" --no-header | grep datastore2
  datastore2  true
  $ TARVEX_HOST=hvx-lab-01.example.test tarvexcli storage filesystem unmount -l datastore2
  true
  $ tarvex-host events | cut -d' ' -f3-
  PreUnmount  "datastore2"

Given twice, wherever, a global option is refused as any option is.

  $ tarvexcli --format csv storage filesystem list --format json
  tarvexcli: Option --format may be given only once
  [2]
  $ tarvexcli storage filesystem list --format
  tarvexcli: Missing value for --format: expected one of: table, simple, json, csv, xml
  [2]

-h is --help, for the root and for a node; the help of a command with a
result made of records lists its fields, those shown by default in their
order first.

  $ tarvexcli -h | head -2
  Usage: tarvexcli [global options] <namespace> ... <command> [options]
  
  $ tarvexcli storage -h | head -1
  Usage: tarvexcli [global options] storage <namespace> ... <command> [options]
  $ tarvexcli storage filesystem list -h
  Usage: tarvexcli [global options] storage filesystem list [options]
  
  List the volumes available to the host. This includes Kovra, NAS, VFAT and UFS partitions.
  
  Options:
    -u, --uuid <string>
        Only show information for the filesystem with the specified UUID.
    -i, --ignore-errors
        Ignore errors encountered (if any) while retrieving information for each file system.
  
  Default format: table
  
  Output fields (one row per FilesystemVolume, shown in this order):
    Mount Point  string
    Volume Name  string
    UUID         string
    Mounted      boolean
    Type         string
    Size         integer
    Free         integer
  $ tarvexcli storage kovra extent list --help | sed -n '/^Default format/,$p'
  Default format: table
  
  Output fields (one row per FilesystemKovraExtents, shown in this order):
    Volume Name    string
    Kovra UUID     string
    Extent Number  integer
    Device Name    string
    Partition      integer
  
  Other fields (shown when --fields names them):
    LVM UUID  string

A namespace lists its namespaces and its commands apart, or says it has no
commands; a command without options says so; units go with the fields.

  $ tarvexcli storage nfs --help
  Usage: tarvexcli [global options] storage nfs <namespace> ... <command> [options]
  
  Operations to create, manage, and remove Network Attached Storage filesystems.
  
  Available namespaces:
    preunmountstate  Enter or exit preunmount state.
    param            Operations on volume parameters of NAS filesystems.
  
  Available commands:
    add     Add a new NAS volume to the Orvane Host and mount it with the given volume name.
    remove  Remove an existing NAS volume from the Orvane host.
    list    List the NAS volumes currently known to the Orvane host.
  
  Run 'tarvexcli storage nfs <name> --help' for the help of one of them.
  $ tarvexcli storage internal core --help
  Usage: tarvexcli [global options] storage internal core <command> [options]
  
  Tarvex core storage commands. No operations are currently internal only.
  
  This namespace has no commands.
  $ tarvexcli storage kovra pbcache reset --help
  Usage: tarvexcli [global options] storage kovra pbcache reset
  
  Reset the Kovra Pointer Block cache statistics.
  
  Options: none
  
  Default format: table
  $ tarvexcli storage kovra pbcache get --help | grep ', in ' | tr -s ' '
   Cache Capacity Miss Ratio integer, in %
   Cache Size integer, in MiB
   Cache Size Max integer, in MiB
   Cache Usage integer, in %
   Cache Working Set integer, in TiB
   Cache Working Set Max integer, in TiB
   Kovra Heap Overhead integer, in KiB
   Kovra Heap Size integer, in MiB
   Kovra Heap Size Max integer, in MiB

--fields takes names in any case; the output keeps the exact names.

  $ tarvexcli storage filesystem list --fields "VOLUME NAME,Free" --format csv | head -2
  Volume Name,Free\r (esc)
  datastore1,343597383680\r (esc)
  $ tarvexcli storage filesystem list --fields "volume name,nope"
  tarvexcli: Unknown field 'nope' in --fields: expected one of 'Mount Point', 'Volume Name', 'UUID', 'Type', 'Mounted', 'Size', 'Free'
  [2]

A field named twice would be a JSON key twice: a usage error.

  $ tarvexcli --format json storage filesystem list --fields "Volume Name,volume name"
  tarvexcli: Field 'volume name' given twice in --fields
  [2]

A usage error suggests an option whose name contains the word given, as well
as near misses.

  $ tarvexcli storage filesystem unmount --label datastore1
  tarvexcli: Unknown option '--label': did you mean '--volume-label'?
  [2]
  $ tarvexcli storage filesystem unmount --volume datastore1
  tarvexcli: Unknown option '--volume': did you mean '--volume-label', '--volume-path' or '--volume-uuid'?
  [2]
  $ tarvexcli storage filesystem list --no-headers
  tarvexcli: Unknown option '--no-headers': did you mean '--no-header'?
  [2]
  $ tarvexcli storage --nope filesystem list
  tarvexcli: Unexpected option '--nope' after 'storage': expected a namespace or command
  [2]
