// What the NFS v3 (`storage nfs`) and NFS v4.1 (`storage nfs41`) commands do
// alike: the feature switches, the mount-or-roll-back step of an add, the
// removal with its datastore notifications, and the loops of list, param get
// and param set. Each command passes what differs: which query fetches its
// mounts, how a row looks and is filled, what a change does.
//
// Every function here catches HostCtl::Lib::HostCtlException only and reports
// it on `output`; anything else goes up to the caller. Host objects are freed
// before the functions return, on every path.
#ifndef COMMANDS_NFS_NAS_COMMON_H_
#define COMMANDS_NFS_NAS_COMMON_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/command_support.h"
#include "hostctl/network_file_system.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using NasMounts = std::vector<std::unique_ptr<HostCtl::Storage::NetworkFileSystem>>;
// StorageInfoImpl::GetV3NetworkFileSystems or GetV41NetworkFileSystems.
using NasQuery = NasMounts (StrelCtl::Storage::StorageInfoImpl::*)(StrelCtl::Storage::NfsFilter);
// A fresh, empty row of the command's output structure.
using NasRowMaker = std::function<std::shared_ptr<MetaObj::MetaStruct>()>;
// Sets fields of `row` from `mount`; may throw HostCtlException.
using NasRowFiller =
    std::function<void(MetaObj::MetaStruct& row, HostCtl::Storage::NetworkFileSystem& mount)>;
// Changes one mount; may throw HostCtlException.
using NasMountChanger = std::function<void(HostCtl::Storage::NetworkFileSystem& mount)>;

// The host's feature switches, read from its feature table at every call:
// the host may turn them on or off between two reads.
bool NasStrelnicBindingEnabled();
bool NasPreunmountEnabled();

// "Supported", "Not Supported", or "Unknown" for any other state. Static text.
const char* ArrakStateText(HostCtl::Storage::ArrakState state);

// Mounts the newly added `volume` with `option`. When the mount fails, the
// volume is removed again by `volume_name` and the mount's message is
// reported, or the removal's message when the removal fails too. Returns
// whether the mount succeeded.
bool MountOrRemove(StrelCtl::Storage::StorageInfoImpl& storage,
                   HostCtl::Storage::NetworkFileSystem& volume, int option,
                   const std::string& volume_name, const OutputPtr& output);

// Tells the datastore agent "PreUnmount", removes the NAS volume of that name
// and version, and sets true. On a host failure (of the notification or the
// removal) reports its message and tells the agent "FailedUnmount".
void RemoveNasVolume(const std::string& volume_name, StrelCtl::Storage::NfsVersion version,
                     const OutputPtr& output);

// Sets as the result a list of one row per mount that `query` returns with
// `filter`, in that order. A mount whose row cannot be filled is reported as
// "Error getting data for mount '<name>': <message>, skipping." and left out.
// Any other host failure is reported unchanged and leaves no result.
void ListNasMounts(NasQuery query, StrelCtl::Storage::NfsFilter filter, const NasRowMaker& make_row,
                   const NasRowFiller& fill_row, const OutputPtr& output);

// The "NasMountParams" structure with its four common fields, empty.
std::shared_ptr<MetaObj::MetaStruct> NasMountParamsStructure();

// Sets as the result a list of the parameters of the non-protocol-endpoint
// mounts named `volume_name` ("all": every one). The shared loop sets
// "Volume Name" and the three limits; `fill_extra` (may be empty) sets what
// else the structure has. With `stop_at_first_match`, a single name lists at
// most one mount. A mount that cannot be read is reported as "Error getting
// params for mount '<name>': <message>, skipping." and left out; an unknown
// name gives an empty list.
void ListNasMountParams(NasQuery query, const std::string& volume_name, bool stop_at_first_match,
                        const NasRowMaker& make_row, const NasRowFiller& fill_extra,
                        const OutputPtr& output);

// Applies `change` to every non-protocol-endpoint mount named exactly
// `volume_name`, then sets true (also when none matched). The first failing
// change is reported as "Error setting params for mount '<name>': <message>"
// and ends the run without a result; earlier changes stay.
void SetNasMountParams(NasQuery query, const std::string& volume_name,
                       const NasMountChanger& change, const OutputPtr& output);

// Sets the mount's queue depth (persistently) when "maxqueuedepth" was given.
void SetQueueDepthIfGiven(const CallSpec::Input& input, HostCtl::Storage::NetworkFileSystem& mount);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS_NAS_COMMON_H_
