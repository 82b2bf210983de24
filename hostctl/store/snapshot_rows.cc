#include "hostctl/store/snapshot_rows.h"

#include <map>

#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {
namespace {

const char kSelect[] =
    "SELECT id, label, uuid, lvm_uuid, version, capacity, used, mount_reason, "
    "resignature_reason, foreign_class, coalesce(mounted_as, 0) FROM snapshots ";

std::shared_ptr<SnapshotRecord> Read(const Stmt& s) {
  auto snapshot = std::make_shared<SnapshotRecord>();
  snapshot->id = s.Int(0);
  snapshot->label = s.Text(1);
  snapshot->uuid = s.Text(2);
  snapshot->lvm_uuid = s.Text(3);
  snapshot->version = static_cast<uint32_t>(s.Int(4));
  snapshot->capacity = s.Int(5);
  snapshot->used = s.Int(6);
  if (!s.IsNull(7)) snapshot->mount_reason = static_cast<uint32_t>(s.Int(7));
  if (!s.IsNull(8)) snapshot->resignature_reason = static_cast<uint32_t>(s.Int(8));
  snapshot->foreign = s.Int(9);
  snapshot->mounted_as = s.Int(10);
  return snapshot;
}

// Fills in the extents of `snapshots` (by id) with one query. An extent is
// attached when its device is, and host `host` (0: any) reaches it.
void LoadExtents(Db& db, const std::vector<std::shared_ptr<SnapshotRecord>>& snapshots,
                 int64_t host = 0) {
  std::map<int64_t, SnapshotRecord*> by_id;
  for (const auto& snapshot : snapshots) by_id[snapshot->id] = snapshot.get();
  if (by_id.empty()) return;
  bool single = by_id.size() == 1;
  Stmt stmt = db.Prepare(
      std::string("SELECT e.snapshot_id, d.name, e.partition, e.start, e.end_offset, d.attached "
                  "AND NOT EXISTS (SELECT 1 FROM unreachable u WHERE u.device_id = d.id AND "
                  "u.host_id = ?1) FROM snapshot_extents e LEFT JOIN devices d ON d.id = "
                  "e.device_id") +
      (single ? " WHERE e.snapshot_id = ?2" : "") + " ORDER BY e.snapshot_id, e.pos");
  stmt.Bind(1, host);
  if (single) stmt.Bind(2, by_id.begin()->first);
  while (stmt.Step()) {
    auto it = by_id.find(stmt.Int(0));
    if (it == by_id.end()) continue;
    std::shared_ptr<SnapshotExtentRecord> extent;
    if (!stmt.IsNull(1)) {
      extent = std::make_shared<SnapshotExtentRecord>();
      extent->device = stmt.Text(1);
      extent->partition = static_cast<unsigned int>(stmt.Int(2));
      extent->start = stmt.Int(3);
      extent->end = stmt.Int(4);
      extent->attached = stmt.Int(5);
    }
    it->second->extents.push_back(std::move(extent));
  }
}

}  // namespace

std::vector<std::shared_ptr<SnapshotRecord>> LoadUnresolvedSnapshots(Db& db) {
  Stmt stmt = db.Prepare(std::string(kSelect) + "WHERE mounted_as IS NULL ORDER BY id");
  std::vector<std::shared_ptr<SnapshotRecord>> snapshots;
  while (stmt.Step()) snapshots.push_back(Read(stmt));
  LoadExtents(db, snapshots);
  return snapshots;
}

std::vector<std::shared_ptr<SnapshotRecord>> LoadHostSnapshots(Db& db, int64_t host) {
  Stmt stmt = db.Prepare(
      std::string(kSelect) +
      "s WHERE (mounted_as IS NULL OR NOT EXISTS (SELECT 1 FROM volume_views w WHERE "
      "w.volume_id = s.mounted_as AND w.host_id = ?1 AND w.mounted = 1)) AND (NOT EXISTS "
      "(SELECT 1 FROM snapshot_extents e WHERE e.snapshot_id = s.id AND e.device_id IS NOT NULL) "
      "OR EXISTS (SELECT 1 FROM snapshot_extents e WHERE e.snapshot_id = s.id AND e.device_id "
      "NOT IN (SELECT device_id FROM unreachable WHERE host_id = ?1))) ORDER BY id");
  stmt.Bind(1, host);
  std::vector<std::shared_ptr<SnapshotRecord>> snapshots;
  while (stmt.Step()) snapshots.push_back(Read(stmt));
  LoadExtents(db, snapshots, host);
  return snapshots;
}

std::optional<SnapshotRecord> LoadSnapshotMountedAs(Db& db, int64_t volume_id) {
  std::shared_ptr<SnapshotRecord> snapshot;
  {
    Stmt stmt = db.Prepare(std::string(kSelect) + "WHERE mounted_as = ?");
    stmt.Bind(1, volume_id);
    if (!stmt.Step()) return std::nullopt;
    snapshot = Read(stmt);
  }
  LoadExtents(db, {snapshot});
  return *snapshot;
}

std::shared_ptr<SnapshotRecord> LoadSnapshotById(Db& db, int64_t id, int64_t host) {
  std::shared_ptr<SnapshotRecord> snapshot;
  {
    Stmt stmt = db.Prepare(std::string(kSelect) + "WHERE id = ?");
    stmt.Bind(1, id);
    if (!stmt.Step()) return nullptr;
    snapshot = Read(stmt);
  }
  LoadExtents(db, {snapshot}, host);
  return snapshot;
}

void InsertSnapshot(Db& db, SnapshotRecord& snapshot, int64_t mounted_as) {
  Stmt stmt = db.Prepare(
      "INSERT INTO snapshots(label, uuid, lvm_uuid, version, capacity, used, mount_reason, "
      "resignature_reason, foreign_class, mounted_as) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  stmt.Bind(1, snapshot.label).Bind(2, snapshot.uuid).Bind(3, snapshot.lvm_uuid);
  stmt.Bind(4, int64_t{snapshot.version}).Bind(5, snapshot.capacity).Bind(6, snapshot.used);
  if (snapshot.mount_reason) stmt.Bind(7, int64_t{*snapshot.mount_reason});
  if (snapshot.resignature_reason) stmt.Bind(8, int64_t{*snapshot.resignature_reason});
  stmt.Bind(9, snapshot.foreign);
  if (mounted_as) stmt.Bind(10, mounted_as);
  stmt.Run();
  snapshot.id = db.LastInsertId();
  for (size_t pos = 0; pos < snapshot.extents.size(); ++pos) {
    const auto& extent = snapshot.extents[pos];
    Stmt insert = db.Prepare(
        "INSERT INTO snapshot_extents(snapshot_id, pos, device_id, partition, start, end_offset) "
        "VALUES (?, ?, ?, ?, ?, ?)");
    insert.Bind(1, snapshot.id).Bind(2, static_cast<int64_t>(pos));
    if (extent) {
      insert.Bind(3, DeviceId(db, extent->device)).Bind(4, int64_t{extent->partition});
      insert.Bind(5, extent->start).Bind(6, extent->end);
    } else {
      insert.Bind(4, int64_t{0}).Bind(5, int64_t{0}).Bind(6, int64_t{0});
    }
    insert.Run();
  }
}

void MarkSnapshotMounted(Db& db, int64_t snapshot_id, int64_t volume_id) {
  Stmt stmt = db.Prepare("UPDATE snapshots SET mounted_as = ? WHERE id = ?");
  if (volume_id) stmt.Bind(1, volume_id);
  stmt.Bind(2, snapshot_id);
  stmt.Run();
}

void DeleteSnapshot(Db& db, int64_t snapshot_id) {
  db.Prepare("DELETE FROM snapshots WHERE id = ?").Bind(1, snapshot_id).Run();
}

int64_t DeviceId(Db& db, const std::string& name) {
  Stmt stmt = db.Prepare("SELECT id FROM devices WHERE name = ?");
  stmt.Bind(1, name);
  return stmt.Step() ? stmt.Int(0) : 0;
}

}  // namespace Sim
}  // namespace HostCtl
