What tarvexcli prints for each kind of result and format, on a small test
plug-in, and its exit status when the command reports errors.

  $ . "$TESTDIR/setup.sh"
  $ export TARVEX_PLUGIN=$TARVEX_TEST_PLUGIN

A command's errors go to stderr one a line, status 1; with no result nothing
is printed, not even for json. An exception is one line too. A partial
result is printed with its error.

  $ tarvexcli --format json storage test action -n vol1 --fail
  Cannot act on 'vol1': it is busy
  Second message
  [1]
  $ tarvexcli --format json storage test action -n vol1 --fail 2>/dev/null | wc -c
  0
  $ tarvexcli storage test action -n vol1 --throw
  tarvexcli: Unexpected failure on vol1
  [1]
  $ tarvexcli storage test list -n a -n b --partial 2>err
  Name  Size (MiB)  Mounted
  ----  ----------  -------
  a     100         false
  [1]
  $ cat err
  Error reading volume after 'a', skipping.

Each command's own formatter (table, simple with a header per record) and
its units, then the output options.

  $ tarvexcli storage test list -n vol1 -n datastore2
  Name        Size (MiB)  Mounted
  ----------  ----------  -------
  vol1        100         false
  datastore2  200         true
  $ tarvexcli storage test records -n vol1 -n datastore2
  Volume vol1
     Name: vol1
     Size: 100 MiB
     Mounted: false
  
  Volume datastore2
     Name: datastore2
     Size: 200 MiB
     Mounted: true
  
  $ tarvexcli --fields "Size, Name" --no-header storage test list -n vol1
  100  vol1
  $ tarvexcli --format=csv --fields=UUID,Name storage test list -n vol1
  UUID,Name\r (esc)
  5f1e2d3c-8a7b6c5d-1e2f-100,vol1\r (esc)
  $ tarvexcli --format json --fields Name storage test list -n a
  [
    {
      "Name": "a"
    }
  ]

CSV quotes what needs it; a byte that is not UTF-8 becomes U+FFFD.

  $ tarvexcli --format csv storage test list
  Name,Size,Mounted\r (esc)
  plain,100,false\r (esc)
  "a ""quoted"", comma",200,true\r (esc)
  "<&> new
  line \xef\xbf\xbd",300,false\r (esc)
