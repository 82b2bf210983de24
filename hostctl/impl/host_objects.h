// Host-wide objects handed out by StorageInfoImpl and the host: the
// pointer-block cache, and the unresolved snapshots as their handles.
#ifndef HOSTCTL_IMPL_HOST_OBJECTS_H_
#define HOSTCTL_IMPL_HOST_OBJECTS_H_

#include <memory>

#include "hostctl/store/records.h"
#include "strelctl/storage.h"

namespace HostCtl {
namespace Sim {

std::unique_ptr<Storage::PBCache> MakePBCache();

// An UnresolvedKovraVolumeImpl, or for a snapshot the fixture marks foreign
// an object of another class that commands skip.
std::unique_ptr<Storage::UnresolvedKovraVolume> MakeSnapshotHandle(
    std::shared_ptr<SnapshotRecord> record);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_IMPL_HOST_OBJECTS_H_
