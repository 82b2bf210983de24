// What the volumes of one query share: their extents, with what the host
// knows of each device, and the NFS servers, each read once for the whole
// batch (see VolumeBatch in records.h).
#ifndef HOSTCTL_STORE_VOLUME_BATCH_H_
#define HOSTCTL_STORE_VOLUME_BATCH_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// The extents of `volume`, read for every volume of its batch at once.
const std::vector<std::shared_ptr<ExtentRecord>>& VolumeExtents(Db& db, VolumeRecord& volume);
// The extents of the volume with row id `id` among those `batch` holds.
const std::vector<std::shared_ptr<ExtentRecord>>& BatchExtents(Db& db, VolumeBatch& batch,
                                                               int64_t id);

// The NFS server at `address` as the batch of `volume` saw it (its
// reachability, size and read-only exports; the address is the caller's),
// or null when the host has no record of it (a server it knows nothing bad
// about).
const NfsServerRecord* VolumeServer(Db& db, VolumeRecord& volume, const std::string& address);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_VOLUME_BATCH_H_
