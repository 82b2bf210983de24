Output that cannot be written (a full disk, a closed standard output) is an
error: one line on stderr and exit status 4, whatever the program printed.

  $ . "$TESTDIR/setup.sh"
  $ tarvexcli storage filesystem list >/dev/full
  tarvexcli: cannot write the output: No space left on device
  [4]
  $ tarvexcli storage filesystem list >&-
  tarvexcli: cannot write the output: Bad file descriptor
  [4]
  $ tarvexcli --version >/dev/full
  tarvexcli: cannot write the output: No space left on device
  [4]
  $ tarvexcli --help >/dev/full
  tarvexcli: cannot write the output: No space left on device
  [4]
  $ tarvexcli --generate-completion bash >/dev/full
  tarvexcli: cannot write the output: No space left on device
  [4]
  $ tarvex-host dump >/dev/full
  tarvex-host: cannot write the output: No space left on device
  [4]
  $ tarvex-host --version >&-
  tarvex-host: cannot write the output: Bad file descriptor
  [4]
  $ tarvexcli storage filesystem unmount -l datastore1
  true
  $ tarvex-host events >/dev/full
  tarvex-host: cannot write the output: No space left on device
  [4]

A command whose output failed still did what it did.

  $ tarvexcli storage nfs add -H 192.0.2.10 -s /full -v full >/dev/full
  tarvexcli: cannot write the output: No space left on device
  [4]
  $ tarvexcli --format csv --no-header --fields "Volume Name" storage nfs list | grep -c '^full'
  1

A reader that stops early ends the program quietly by SIGPIPE, as usual;
the output here is longer than a pipe holds.

  $ jq -n '{format: 1, nfs_servers: [{address: "192.0.2.10", reachable: true}],
  >   volumes: [range(2000) | {type: "NFS", name: "nfs-\(.)", uuid: "a0b1c2d3-\(10000000 + .)",
  >     nfs: {hosts: ["192.0.2.10"], share: "/s\(.)"}}]}' >many.json
  $ tarvex-host --store many.db init --fixture many.json
  $ tarvexcli --store many.db storage filesystem list | head -1; echo "${PIPESTATUS[0]}"
  Mount Point * (glob)
  141
  $ tarvex-host --store many.db dump | head -1; echo "${PIPESTATUS[0]}"
  {
  141
