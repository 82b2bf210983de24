// The run that snapshot mount and resignature share: one target, every
// unresolved volume it selects resolved in turn.
#ifndef COMMANDS_KOVRA_SNAPSHOT_RESOLVE_H_
#define COMMANDS_KOVRA_SNAPSHOT_RESOLVE_H_

#include <functional>

#include "commands/command_support.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

// Resolves one selected volume; may add messages to the output (a refusal)
// and may throw HostCtlException, which ends the run.
using SnapshotResolver =
    std::function<void(StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume, const OutputPtr&)>;

// Requires exactly one of "volume-label" and "volume-uuid"; otherwise adds
// the target message and leaves no result, without querying the host. Then
// calls `resolve` on every unresolved volume the target selects, in host
// order, reports a target that selects none, and sets true whatever
// happened after the target check: the messages tell a failure. A host
// failure stops at the failing volume and adds its message.
void ResolveSelectedSnapshots(const InputPtr& input, const OutputPtr& output,
                              const SnapshotResolver& resolve);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_SNAPSHOT_RESOLVE_H_
