// Queries of the host's volumes and snapshots that may answer from what an
// earlier query read, while a StorageInfoScopedCache is alive. A write by
// this process ends the reuse.
#ifndef HOSTCTL_STORE_SCOPED_CACHE_H_
#define HOSTCTL_STORE_SCOPED_CACHE_H_

#include <memory>
#include <vector>

#include "hostctl/store/records.h"
#include "hostctl/store/volume_rows.h"
#include "hostctl/store/volume_set.h"

namespace HostCtl {
namespace Sim {

// The volumes `query` finds; while a scope is alive, the same set for the
// same query.
VolumeSetRef QueryVolumes(const VolumeQuery& query);
std::vector<std::shared_ptr<SnapshotRecord>> QuerySnapshots();

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_SCOPED_CACHE_H_
