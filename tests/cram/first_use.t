The default host is made on first use, in the user's state directory.

  $ . "$TESTDIR/setup.sh"
  $ tarvexcli storage filesystem list --help >/dev/null; echo $?
  0
  $ tarvexcli --fields "Volume Name,Mounted" storage filesystem list | head -3
  Volume Name  Mounted
  -----------  -------
  datastore1   true
  $ ls state/tarvex
  host.db
  host.db-shm
  host.db-wal

The directories made for it are the user's alone, as the XDG base directory
rules ask.

  $ stat -c '%a %n' state state/tarvex
  700 state
  700 state/tarvex
