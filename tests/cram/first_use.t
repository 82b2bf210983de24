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

Without XDG_STATE_HOME, or with a relative one, which those rules say to
ignore, the state directory is the one under HOME. --store comes before
TARVEX_HOST_STORE.

  $ HOME=$PWD/home XDG_STATE_HOME=relative tarvex-host dump > /dev/null
  $ env -u XDG_STATE_HOME HOME=$PWD/home2 tarvex-host dump > /dev/null
  $ ls home/.local/state/tarvex home2/.local/state/tarvex
  home/.local/state/tarvex:
  host.db
  host.db-shm
  host.db-wal
  
  home2/.local/state/tarvex:
  host.db
  host.db-shm
  host.db-wal
  $ TARVEX_HOST_STORE=env.db tarvex-host --store opt.db dump > /dev/null
  $ ls *.db
  opt.db
