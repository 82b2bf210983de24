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

// The SAN's snapshots that no mount has made a volume of, in the order they
// were made, with their extents.
std::vector<std::shared_ptr<SnapshotRecord>> LoadUnresolvedSnapshots(Db& db);
// The snapshots host `host` lists as unresolved: those that reach it (a
// device of one of their extents it does not find unreachable), unless it
// has mounted the volume a mount with its signature made. Extents on a
// device it cannot reach are not attached.
std::vector<std::shared_ptr<SnapshotRecord>> LoadHostSnapshots(Db& db, int64_t host);
// The snapshot the volume `volume_id` was mounted from, if any.
std::optional<SnapshotRecord> LoadSnapshotMountedAs(Db& db, int64_t volume_id);
// The snapshot of that row id, or null when it is gone; its extents as
// host `host` finds them (0: any host).
std::shared_ptr<SnapshotRecord> LoadSnapshotById(Db& db, int64_t id, int64_t host = 0);

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
