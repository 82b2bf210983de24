#include "hostctl/rules/lock_modes.h"

#include "hostctl/kovra_file_system.h"
#include "hostctl/rules/heartbeats.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/volume_batch.h"

namespace HostCtl {
namespace Sim {
namespace {

using Storage::KovraFileSystem;
constexpr uint32_t kAtsOnly = KovraFileSystem::LOCK_ATS_ONLY;
constexpr uint32_t kUpgrade = KovraFileSystem::LOCK_UPGRADE_PENDING;
constexpr uint32_t kDowngrade = KovraFileSystem::LOCK_DOWNGRADE_PENDING;
constexpr uint32_t kModeBits = kAtsOnly | kUpgrade | kDowngrade;

// The live hosts of the simulation that cannot use ATS-only and hold a live
// slot on volume `volume_id`: "host 'a'" or "hosts 'a', 'b'" ("" for none).
std::string HostsWithoutAtsOnly(Db& db, int64_t volume_id) {
  Stmt stmt = db.Prepare(
      "SELECT h.name FROM heartbeats s JOIN host h ON h.mac = s.mac WHERE s.volume_id = ? AND "
      "s.alive = 1 AND h.up = 1 AND h.ats_only = 0 ORDER BY h.id");
  stmt.Bind(1, volume_id);
  std::string names;
  int count = 0;
  while (stmt.Step()) {
    names += (count++ ? ", '" : "'") + stmt.Text(0) + "'";
  }
  return count == 0 ? "" : (count == 1 ? "host " : "hosts ") + names;
}

}  // namespace

bool WantsAtsOnly(uint32_t flags) {
  if (flags & kUpgrade) return true;
  if (flags & kDowngrade) return false;
  return (flags & kAtsOnly) != 0;
}

void ChangeLockMode(Db& db, VolumeRecord& v, uint32_t flags) {
  const bool ats_only = flags & kAtsOnly;
  if (ats_only && !(v.lock_mode & kAtsOnly)) {
    const std::string action = "set ATS-only locking on";
    if (v.version == 3) Refuse(action, "volume", v.name, "ATS on Kovra-3 not supported");
    for (const auto& extent : VolumeExtents(db, v)) {
      if (!extent->ats)
        Refuse(action, "volume", v.name, "device " + extent->device + " does not support ATS");
    }
    const std::string hosts = HostsWithoutAtsOnly(db, v.id);
    if (!hosts.empty()) {
      Refuse(action, "volume", v.name, hosts + " cannot use ATS-only locking");
    }
  }
  db.Prepare(
        "UPDATE heartbeats SET lock_mode = (lock_mode & ~4) | ? WHERE volume_id = ? AND mac = "
        "(SELECT mac FROM host WHERE id = ?) AND mac != ''")
      .Bind(1, int64_t{ats_only ? kSlotAtsOnly : 0})
      .Bind(2, v.id)
      .Bind(3, v.host_id)
      .Run();
  db.Prepare("UPDATE volumes SET lock_mode = ? WHERE id = ?")
      .Bind(1, int64_t{(flags & ~kModeBits) | (ats_only ? kUpgrade : kDowngrade)})
      .Bind(2, v.id)
      .Run();
  v.lock_mode = SettleLockModes(db, v.id);
}

uint32_t SettleLockModes(Db& db, int64_t volume_id) {
  // A volume heading for ATS-only (0x20) waits for live slots without bit 4;
  // one heading away (0x40 alone) for live slots with it.
  // One volume by its id; every volume only after a crash or a removal.
  Stmt settle = db.Prepare(
      std::string("UPDATE volumes SET lock_mode = (lock_mode & ~112) | (CASE WHEN lock_mode & 32 "
                  "THEN 16 ELSE 0 END) WHERE ") +
      (volume_id ? "id = ?1 AND " : "") +
      "type = 'Kovra' AND lock_mode & 96 != 0 AND NOT EXISTS (SELECT 1 FROM heartbeats s WHERE "
      "s.volume_id = volumes.id AND s.alive = 1 AND ((s.lock_mode & 4) != 0) != "
      "((volumes.lock_mode & 32) != 0))");
  if (volume_id) settle.Bind(1, volume_id);
  settle.Run();
  if (volume_id == 0) return 0;
  Stmt stmt = db.Prepare("SELECT lock_mode FROM volumes WHERE id = ?");
  stmt.Bind(1, volume_id);
  const uint32_t flags = stmt.Step() ? static_cast<uint32_t>(stmt.Int(0)) : 0;
  return flags;
}

std::string LockProblem(Db& db, const VolumeRecord& v) {
  if (!v.IsKovra() || !WantsAtsOnly(v.lock_mode)) return "";
  Stmt stmt = db.Prepare("SELECT ats_only FROM host WHERE id = ?");
  stmt.Bind(1, v.host_id);
  const bool can = !stmt.Step() || stmt.Int(0) != 0;
  return can ? "" : "the volume uses ATS-only locking, which this host cannot use";
}

}  // namespace Sim
}  // namespace HostCtl
