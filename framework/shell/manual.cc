#include "framework/shell/manual.h"

#include "framework/man_page.h"
#include "framework/shell/cli.h"
#include "framework/shell/reference.h"

namespace TarvexShell {

using TarvexMan::Literal;
using TarvexMan::Text;

std::string ManualPage(const std::vector<TreeEntry>& tree, const std::string& version) {
  TarvexMan::ManPage page("tarvexcli", "run a storage command on the simulated host",
                          "libcore-storage-internal " + version);
  page.Help(ShellUsage(), true);
  page.Section("DIAGNOSTICS");
  page.Paragraph(Text("Errors go to standard error, one line each, beginning with ") +
                 Literal("tarvexcli: ") +
                 Text("; the messages a command itself adds to its result are printed as they "
                      "are."));

  page.Section("FILES");
  page.Item(Literal("$XDG_STATE_HOME/tarvex/host.db"),
            Text("The store when neither --store nor TARVEX_HOST_STORE names one (") +
                Literal("~/.local/state/tarvex/host.db") +
                Text(" when XDG_STATE_HOME is unset or not absolute). It is made from the "
                     "built-in default host on first use, with its missing directories (mode "
                     "0700). A store named by --store or TARVEX_HOST_STORE is made only in a "
                     "directory that exists."));
  page.Item(Literal("<libdir>/tarvex/libcore-storage-internal.so"),
            Text("The storage plug-in, found relative to tarvexcli, beside the private "
                 "libraries libcordra.so and libhostctl.so."));
  page.Item(Literal("<prefix>/libexec/tarvex/notifyDatastore"),
            Text("The stand-in datastore agent; it records each notification in the store."));

  page.Section("COMMANDS");
  page.Paragraph(Text("Every namespace and command the storage plug-in registers, on a host "
                      "whose features are all on. ") +
                 Literal("tarvexcli PATH --help") + Text(" shows the same for one node."));
  page.Raw(RoffReference(tree));

  page.Section("EXAMPLES");
  page.Paragraph(Text("List the datastores, then the NFS volumes as JSON:"));
  page.Example({"tarvexcli storage filesystem list", "tarvexcli --format json storage nfs list"});
  page.Paragraph(Text("Two fields of every datastore, as CSV without a header row:"));
  page.Example(
      {"tarvexcli storage filesystem list --fields \"volume name,free\" --format csv "
       "--no-header"});
  page.Paragraph(Text("Unmount a datastore, on a store of its own:"));
  page.Example({"tarvexcli --store /tmp/trial.db storage filesystem unmount -l datastore1"});

  page.Section("SEE ALSO");
  page.Paragraph(Literal("tarvex-host") + Text("(1); usage.md and commands.md in ") +
                 Literal("/usr/share/doc/libcore-storage-internal/docs/") + Text("."));
  return page.str();
}

}  // namespace TarvexShell
