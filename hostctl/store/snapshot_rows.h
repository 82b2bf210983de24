// The snapshots table as SnapshotRecords. A snapshot that a non-persistent
// mount turned into a volume keeps its row, marked with that volume, so a
// restart can make it unresolved again.
#ifndef HOSTCTL_STORE_SNAPSHOT_ROWS_H_
#define HOSTCTL_STORE_SNAPSHOT_ROWS_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// The unresolved snapshots in host order, with their extents.
std::vector<std::shared_ptr<SnapshotRecord>> LoadUnresolvedSnapshots(Db& db);
// The snapshot the volume `volume_id` was mounted from, if any.
std::optional<SnapshotRecord> LoadSnapshotMountedAs(Db& db, int64_t volume_id);
// The snapshot of that row id, or null when it is gone.
std::shared_ptr<SnapshotRecord> LoadSnapshotById(Db& db, int64_t id);

// Inserts `snapshot` with its extents (devices named must exist) and sets
// its id. `mounted_as`: the volume it is mounted as, or 0.
void InsertSnapshot(Db& db, SnapshotRecord& snapshot, int64_t mounted_as);
void MarkSnapshotMounted(Db& db, int64_t snapshot_id, int64_t volume_id);
void DeleteSnapshot(Db& db, int64_t snapshot_id);

// The row id of device `name`, or 0 when the host has no such device.
int64_t DeviceId(Db& db, const std::string& name);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_SNAPSHOT_ROWS_H_
