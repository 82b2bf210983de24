// What the snapshot commands share: which unresolved volumes a label and a
// UUID select, the loop of the two snapshot lists, and how a resolution
// reason reads.
#ifndef COMMANDS_KOVRA_SNAPSHOT_SELECTION_H_
#define COMMANDS_KOVRA_SNAPSHOT_SELECTION_H_

#include <functional>
#include <memory>
#include <string>

#include "commands/command_support.h"
#include "hostctl/unresolved.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

// The entry narrowed to the host's implementation class when the target
// selects it, else null. An empty entry, or one of another class, is never
// selected. A non-empty `uuid` must equal the entry's GetUuid() and a
// non-empty `label` its GetVolumeName(), byte for byte; empty arguments
// select every entry. Asks the entry only for what a given argument needs,
// UUID first. The result points into `entry`, which keeps ownership.
// Throws HostCtlException from those getters.
StrelCtl::Storage::UnresolvedKovraVolumeImpl* SelectSnapshot(
    const std::unique_ptr<HostCtl::Storage::UnresolvedKovraVolume>& entry, const std::string& label,
    const std::string& uuid);

// The loop of `kovra snapshot list` and `kovra snapshot extent list`: calls
// `add_rows` for each unresolved volume that the input's "volume-label" and
// "volume-uuid" select, in the host's order, then sets `list` as the result,
// also after a failure. The scoped cache and the storage object are made
// before the handler, so a failure there goes up to the framework. A host
// failure in the query, the selection or `add_rows` stops the listing and
// adds its message; the rows made before it stay.
void ListSelectedSnapshots(
    const InputPtr& input, const OutputPtr& output, const std::shared_ptr<MetaObj::MetaList>& list,
    const std::function<void(StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume)>& add_rows);

// The user-facing text of a reason code written by CanResolve: "ok" for 0,
// "unknown error" for a code the host does not define.
const char* ResolveReasonText(HostCtl::Storage::ResolveReason reason);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_SNAPSHOT_SELECTION_H_
