#include "hostctl/rules/snapshots.h"

#include <vector>

#include "hostctl/rules/lock_modes.h"
#include "hostctl/store/snapshot_rows.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {
namespace {

constexpr uint32_t kActivelyUsed = 5;
constexpr uint32_t kOriginalOnline = 6;

// The views that hold a volume mounted: "w" over volume_views, "h" its host.
const char kMountedViews[] =
    "SELECT 1 FROM volume_views w JOIN host h ON h.id = w.host_id WHERE w.mounted = 1 ";

}  // namespace

uint32_t SnapshotMountConflict(Db& db, const SnapshotRecord& s, int64_t host) {
  Stmt original = db.Prepare(std::string(kMountedViews) +
                             "AND h.up = 1 AND w.volume_id IN (SELECT id FROM volumes WHERE "
                             "uuid = ? AND id != ?)");
  original.Bind(1, s.uuid).Bind(2, s.mounted_as);
  if (original.Step()) return kOriginalOnline;
  if (s.mounted_as == 0) return 0;
  Stmt used = db.Prepare(std::string(kMountedViews) +
                         "AND h.up = 1 AND w.volume_id = ? AND w.host_id != ?");
  used.Bind(1, s.mounted_as).Bind(2, host);
  return used.Step() ? kActivelyUsed : 0;
}

uint32_t SnapshotResignatureConflict(Db& db, const SnapshotRecord& s) {
  if (s.mounted_as == 0) return 0;
  Stmt used = db.Prepare(std::string(kMountedViews) + "AND w.volume_id = ?");
  used.Bind(1, s.mounted_as);
  return used.Step() ? kActivelyUsed : 0;
}

bool IsSnapshotVolume(Db& db, int64_t volume_id) {
  Stmt stmt = db.Prepare("SELECT 1 FROM snapshots WHERE mounted_as = ?");
  stmt.Bind(1, volume_id);
  return stmt.Step();
}

void UndoSnapshotMounts(Db& db, int64_t host) {
  std::vector<std::pair<int64_t, int64_t>> links;  // snapshot, volume
  {
    Stmt stmt = db.Prepare(
        "SELECT s.id, s.mounted_as FROM snapshots s JOIN volume_views w ON w.volume_id = "
        "s.mounted_as WHERE w.host_id = ? AND w.discovered = 1 AND w.persistent = 0");
    stmt.Bind(1, host);
    while (stmt.Step()) links.emplace_back(stmt.Int(0), stmt.Int(1));
  }
  for (const auto& link : links) {
    db.Prepare(
          "UPDATE volume_views SET mounted = 0, discovered = 0 WHERE host_id = ? AND volume_id = "
          "?")
        .Bind(1, host)
        .Bind(2, link.second)
        .Run();
    db.Prepare(
          "DELETE FROM heartbeats WHERE volume_id = ? AND mac = (SELECT mac FROM host WHERE id = "
          "?) AND mac != ''")
        .Bind(1, link.second)
        .Bind(2, host)
        .Run();
    Stmt held = db.Prepare(
        "SELECT 1 FROM volume_views WHERE volume_id = ? AND (mounted = 1 OR persistent = 1)");
    held.Bind(1, link.second);
    if (held.Step()) {
      SettleLockModes(db, link.second);
      continue;
    }
    held.Run();
    MarkSnapshotMounted(db, link.first, 0);
    db.Prepare("DELETE FROM volumes WHERE id = ?").Bind(1, link.second).Run();
  }
}

}  // namespace Sim
}  // namespace HostCtl
