#include "commands/filesystem/notify_datastore.h"

#include "cordra/shell_cmd.h"

namespace TarvexCli {
namespace FileSystem {

void NotifyDatastore(const std::string& event, const std::string& volume_name) {
  const std::string command =
      "/usr/lib/tarvex/corvd/bin/notifyDatastore.py -t " + event + " -i " + "stdin";
  std::string output;
  Cordra::AutoCli::AutoCli_ShellCmd(command, output, volume_name);
}

}  // namespace FileSystem
}  // namespace TarvexCli
