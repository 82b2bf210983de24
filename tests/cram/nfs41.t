NFS v4.1 volumes as a user manages them: add with several servers and a
security flavour, list, parameters, removal, and the "sec" enumeration.

  $ . "$TESTDIR/setup.sh"
  $ v41() {
  >   tarvexcli --format json storage filesystem list |
  >     jq -r '.[] | select(."Volume Name" | startswith("v41")) | "\(."Volume Name") \(.Type) \(.Mounted)"'
  > }

An export the server serves read-only mounts read-only: the list shows the
mount's state.

  $ tarvexcli storage nfs41 add -H 192.0.2.31 -H 192.0.2.32 -s /export/k -v v41 --sec krb5i
  true
  $ tarvexcli storage nfs41 add -H 192.0.2.10 -s /exports/iso -v v41-pe --ispe
  true
  $ tarvexcli storage nfs41 list
  Volume Name  Host(s)                    Share         Accessible  Mounted  Read-Only  Security  isPE   Hardware Acceleration
  -----------  -------------------------  ------------  ----------  -------  ---------  --------  -----  ---------------------
  nfs41-home   203.0.113.21,203.0.113.22  /export/home  true        true     false      krb5      false  Not Supported
  v41          192.0.2.31,192.0.2.32      /export/k     true        true     false      krb5i     false  Unknown
  v41-pe       192.0.2.10                 /exports/iso  true        true     true       sys       true   Unknown
  $ tarvexcli --format json storage nfs41 list -p | jq -r '.[]."Volume Name"'
  v41-pe
  $ v41
  v41 NFS41 true
  v41-pe NFS41 true

Protocol endpoints have no parameters; the largest depth shows unsigned.

  $ tarvexcli storage nfs41 param set -v v41 -q 100
  true
  $ tarvexcli --format json storage nfs41 param get -v all | jq -r '.[] | "\(."Volume Name") \(.MaxQueueDepth)"'
  nfs41-home 4294967295
  v41 100
  $ tarvexcli storage nfs41 param set -v v41 -q 4294967295
  true
  $ tarvexcli storage nfs41 param get -v v41
  Volume Name  MaxQueueDepth  MaxReadTransferSize  MaxWriteTransferSize
  -----------  -------------  -------------------  --------------------
  v41          4294967295     1048576              1048576

Removal tells the agent, and the volume leaves the list.

  $ tarvexcli storage nfs41 remove -v v41
  true
  $ v41
  v41-pe NFS41 true
  $ events
  PreUnmount v41

The security flavours are an enumeration: in the help, and checked.

  $ tarvexcli storage nfs41 add --help | grep -A4 -- '--sec <'
    -a, --sec <string>
        Security flavors. Acceptable values are: sys, krb5, krb5i.
          sys    Authentication based on traditional UNIX ID
          krb5   Kerberos authentication with RPC header integrity protection
          krb5i  Kerberos authentication with data integrity protection
  $ tarvexcli storage nfs41 add -H 192.0.2.31 -s /export/k -v v41 -a KRB5
  tarvexcli: Invalid value 'KRB5' for --sec: expected one of: sys, krb5, krb5i
  [2]
  $ v41
  v41-pe NFS41 true
