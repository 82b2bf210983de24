tarvexcli's own command line, on a small test plug-in: help, usage errors
(exit 2, one line on stderr, nothing on stdout) and plug-in problems.

  $ . "$TESTDIR/setup.sh"
  $ export TARVEX_PLUGIN=$TARVEX_TEST_PLUGIN

The version needs no plug-in at all.

  $ TARVEX_PLUGIN=/nonexistent.so tarvexcli --version
  tarvexcli 0.1.0

Help asked for goes to stdout; --help anywhere in the path shows the node the
path leads to, and after a command wins over everything else after it.

  $ tarvexcli --help | grep -A1 '^Available'
  Available namespaces:
    storage  Operations pertaining to storage on the host.

The exit statuses a script can test, as the help gives them:

  $ tarvexcli --help | sed -n '/^Exit status:/,/^$/p' | grep -o '^  [0-9]'
    0
    1
    2
    3
    4
  $ tarvexcli storage --help test | grep -A4 '^Commands'
  Commands for the shell's tests.
  
  Available commands:
    action   Do something to a volume.
    list     List test volumes.
  $ tarvexcli storage test action -q 0 --help | grep -A1 '^Examples'
  Examples:
    tarvexcli storage test action -n vol1 -e true

A path that stops short of a command prints that node's help to stderr,
status 2.

  $ tarvexcli storage test >out 2>err
  [2]
  $ tarvexcli storage test --help | cmp - err && wc -c <out
  0
  $ tarvexcli 2>err; echo $?; tarvexcli --help | cmp - err
  2

Usage errors.

  $ tarvexcli storage tset list
  tarvexcli: Unknown namespace or command 'tset' in 'storage': did you mean 'test'?
  [2]
  $ tarvexcli strage
  tarvexcli: Unknown namespace or command 'strage': did you mean 'storage'?
  [2]
  $ tarvexcli --no-headers storage
  tarvexcli: Unknown option '--no-headers': did you mean '--no-header'?
  [2]
  $ tarvexcli storage -l datastore1
  tarvexcli: Unexpected option '-l' after 'storage': expected a namespace or command
  [2]
  $ tarvexcli storage -format json
  tarvexcli: Unknown option '-format': did you mean '--format'?
  [2]
  $ tarvexcli storage test action -n v extra
  tarvexcli: Unexpected argument 'extra': this command takes options only
  [2]
  $ tarvexcli --format yaml storage
  tarvexcli: Invalid value 'yaml' for --format: expected one of: table, simple, json, csv, xml
  [2]
  $ tarvexcli --fields Nope storage test list
  tarvexcli: Unknown field 'Nope' in --fields: expected one of 'Name', 'UUID', 'Mounted', 'Size'
  [2]
  $ tarvexcli --fields Name storage test action -n v
  tarvexcli: Option --fields does not apply: this command's result has no fields
  [2]

A plug-in that cannot be loaded or refuses to register: one line, status 2.

  $ TARVEX_PLUGIN=/nonexistent/libplugin.so tarvexcli storage
  tarvexcli: Cannot load plug-in /nonexistent/libplugin.so: cannot open shared object file: No such file or directory
  [2]
  $ TARVEX_PLUGIN=$(find $TARVEX_BIN_DIR/../lib -path '*/tarvex/libcordra.so') tarvexcli storage 2>&1 | sed "s|$TARVEX_BIN_DIR/..|BUILD|"
  tarvexcli: Plug-in BUILD/lib/*tarvex/libcordra.so has no entry point 'AutoCli_RegisterNamespaces' (glob)
  $ TARVEX_TEST_PLUGIN_FAIL=1 tarvexcli storage
  tarvexcli: Unable to find 'nowhere' namespace in namespace 'root'
  [2]
