#ifndef COMMANDS_FILESYSTEM_NOTIFY_DATASTORE_H_
#define COMMANDS_FILESYSTEM_NOTIFY_DATASTORE_H_

#include <string>

namespace TarvexCli {
namespace FileSystem {

// Tells the host's datastore agent that `event` ("PreUnmount",
// "FailedUnmount") happens to the datastore `volume_name`. The name reaches
// the agent on its standard input only. The agent's output and status are
// ignored; a failure to run it at all propagates.
void NotifyDatastore(const std::string& event, const std::string& volume_name);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_NOTIFY_DATASTORE_H_
