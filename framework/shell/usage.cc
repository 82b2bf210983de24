#include "framework/shell/cli.h"

namespace TarvexShell {

std::string ShellUsage() {
  return R"(Usage: tarvexcli [global options] <namespace> ... <command> [options]

Runs one storage command on the simulated host and prints its result.

Global options (anywhere on the line: before, within or after the path):
  --format FORMAT  table, simple, json, csv or xml (default: the command's
                   own format, else table)
  --fields LIST    comma-separated field names, any case: show only these, in
                   this order (a command's --help lists its fields)
  --no-header      leave out the header row (table and csv)
  --store PATH     the simulated host's store (default: $TARVEX_HOST_STORE,
                   else $XDG_STATE_HOME/tarvex/host.db, else
                   ~/.local/state/tarvex/host.db)
  --on-host NAME   the host of the store to run on (default: $TARVEX_HOST;
                   a store of one host needs neither)
  --dry-run[=json]  run the command, then undo every change it made; list
                   on stderr what it would change and the datastore agent's
                   notifications it would send (as JSON with =json)
  -h, --help       show this help, or the help of the node the path leads to
  --version        show the version

Exit status:
  0  the command reported no error
  1  the command reported an error (a partial result is still printed)
  2  usage error: unknown namespace, command, option, field or host, invalid
     value, or a namespace given without a command; also when the plug-in
     cannot be loaded or its registration failed
  3  the simulated host's store cannot be used
  4  the output could not be written (what the command changed on the host
     stays changed)

Environment:
  TARVEX_HOST_STORE  the store, when --store is not given
  TARVEX_HOST        the host, when --on-host is not given
  TARVEX_PLUGIN      the plug-in to load instead of the one installed beside
                     tarvexcli (<prefix>/<libdir>/tarvex/libcore-storage-internal.so)
)";
}

}  // namespace TarvexShell
