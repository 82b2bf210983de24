#include "hostctl/tool/tool_help.h"

#include "framework/man_page.h"
#include "hostctl/tool/tool_commands.h"

namespace TarvexHost {

namespace {

using TarvexMan::Literal;
using TarvexMan::Text;

const char kUsage[] =
    "Usage: tarvex-host [--store PATH] [--on-host NAME] [--dry-run[=json]] COMMAND [OPTIONS]\n"
    "       tarvex-host COMMAND --help\n"
    "       tarvex-host --help | --version\n"
    "\n"
    "The simulated host of tarvexcli: create it, dump it, restart it, inject\n"
    "faults, switch features and read what the datastore agent was told; make\n"
    "a cluster of hosts that share its SAN, and crash and boot them.\n";

const char kOptionsAndStatus[] =
    "\n"
    "Options:\n"
    "  --store PATH    the host's store (default: $TARVEX_HOST_STORE, else\n"
    "                  $XDG_STATE_HOME/tarvex/host.db, else\n"
    "                  ~/.local/state/tarvex/host.db); made from the built-in default\n"
    "                  host when it does not exist, in a directory that must exist\n"
    "                  unless it is the default one or the command is init\n"
    "  --on-host NAME  the host of the store a command other than init concerns\n"
    "                  (default: $TARVEX_HOST; a store of one host needs neither)\n"
    "  --dry-run[=json]  run a command other than init, then undo every change it\n"
    "                  made; list on stderr what it would change (as JSON with =json)\n"
    "  --help          show this help, or a command's help after the command\n"
    "  --version       show the version\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  failed (a fixture that cannot be loaded, a store that exists already, ...)\n"
    "  2  usage error, or a host the store does not have\n"
    "  3  the store cannot be used\n"
    "  4  the output could not be written (what the command changed stays changed)\n"
    "\n"
    "Environment:\n"
    "  TARVEX_HOST_STORE  the store, when --store is not given\n"
    "  TARVEX_HOST        the host, when --on-host is not given\n";

}  // namespace

std::string Usage() {
  std::string usage = std::string(kUsage) + "\nCommands:\n";
  for (const Subcommand& command : Subcommands()) {
    std::string name = command.name;
    usage += "  " + name + std::string(10 - name.size(), ' ') + command.summary + "\n";
  }
  return usage + kOptionsAndStatus;
}

std::string ManualPage(const std::string& version) {
  TarvexMan::ManPage page("tarvex-host", "make, inspect and break the simulated host of tarvexcli",
                          "libcore-storage-internal " + version);
  page.Help(std::string(kUsage) + kOptionsAndStatus, true);
  page.Section("DIAGNOSTICS");
  page.Paragraph(Text("Errors go to standard error, one line each, beginning with ") +
                 Literal("tarvex-host") + Text("."));

  page.Section("FILES");
  page.Item(Literal("$XDG_STATE_HOME/tarvex/host.db"),
            Text("The store when neither --store nor TARVEX_HOST_STORE names one (") +
                Literal("~/.local/state/tarvex/host.db") +
                Text(" when XDG_STATE_HOME is unset or not absolute), made with its missing "
                     "directories (mode 0700) on first use."));

  page.Section("COMMANDS");
  for (const Subcommand& command : Subcommands()) {
    page.Subsection(command.name);
    page.Help(command.help, false);
  }

  page.Section("EXAMPLES");
  page.Paragraph(
      Text("A fresh copy of the default host, a fault on its next mount of "
           "datastore2, and what the datastore agent was told:"));
  page.Example({"tarvex-host init --force",
                "tarvex-host fault add --operation Mount --object datastore2 --message \"Device "
                "busy\"",
                "tarvex-host events"});

  page.Section("SEE ALSO");
  page.Paragraph(Literal("tarvexcli") + Text("(1); fixtures.md and default-host.md in ") +
                 Literal("/usr/share/doc/libcore-storage-internal/docs/") + Text("."));
  return page.str();
}

}  // namespace TarvexHost
