// What the snapshot commands share: which unresolved volumes a label and a
// UUID select, and how a resolution reason reads.
#ifndef COMMANDS_KOVRA_SNAPSHOT_SELECTION_H_
#define COMMANDS_KOVRA_SNAPSHOT_SELECTION_H_

#include <memory>
#include <string>

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

// The user-facing text of a reason code written by CanResolve: "ok" for 0,
// "unknown error" for a code the host does not define.
const char* ResolveReasonText(HostCtl::Storage::ResolveReason reason);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_SNAPSHOT_SELECTION_H_
