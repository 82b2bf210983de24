#include "hostctl/rules/heartbeats.h"

#include <cstdio>
#include <set>

#include "hostctl/rules/lock_modes.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {
namespace {

// A host that takes or renews a slot uses the locking the volume is heading for.
uint8_t SlotLockMode(const VolumeRecord& v) { return WantsAtsOnly(v.lock_mode) ? kSlotAtsOnly : 0; }

// The MAC without its colons: the last group of a heartbeat UUID.
std::string MacDigits(const std::string& mac) {
  std::string digits;
  for (char c : mac) {
    if (c != ':') digits += c;
  }
  return digits;
}

}  // namespace

std::string HostMac(Db& db, int64_t host) {
  Stmt stmt = db.Prepare("SELECT mac FROM host WHERE id = ?");
  stmt.Bind(1, host);
  std::string mac = stmt.Step() ? stmt.Text(0) : "";
  return mac;
}

std::optional<HeartbeatRecord> NewSlot(const VolumeRecord& v, const std::string& mac,
                                       const std::vector<HeartbeatRecord>& slots) {
  if (slots.size() >= kHeartbeatSlots) return std::nullopt;
  std::set<int64_t> used;
  for (const HeartbeatRecord& slot : slots) used.insert(slot.offset);
  HeartbeatRecord hb;
  hb.offset = kFirstSlotOffset;
  while (used.count(hb.offset)) hb.offset += kSlotSize;
  hb.mac = mac;
  hb.driver_major = v.version;
  hb.driver_minor = v.version >= 6 ? 82 : v.version == 5 ? 61 : 54;
  hb.lock_mode = SlotLockMode(v);
  // Made from the volume, the slot and the host, so that a scenario replays
  // with the same rows.
  char middle[32];
  std::snprintf(middle, sizeof middle, "-%08llx-%04x-",
                static_cast<unsigned long long>(hb.offset / kSlotSize), v.version & 0xffff);
  hb.uuid = v.uuid.substr(0, 8) + middle + MacDigits(mac);
  return hb;
}

void TakeSlot(Db& db, VolumeRecord& v) {
  const std::string mac = HostMac(db, v.host_id);
  if (mac.empty() || !v.IsKovra()) return;
  db.Prepare("UPDATE heartbeats SET alive = 1, lock_mode = ? WHERE volume_id = ? AND mac = ?")
      .Bind(1, int64_t{SlotLockMode(v)})
      .Bind(2, v.id)
      .Bind(3, mac)
      .Run();
  if (db.QueryInt("SELECT changes()") > 0) {
    v.lock_mode = SettleLockModes(db, v.id);
    return;
  }
  std::optional<HeartbeatRecord> hb = NewSlot(v, mac, ReadHeartbeats(db, v.id));
  if (!hb) Refuse("mount", "volume", v.name, "no free heartbeat slot");
  Stmt next = db.Prepare("SELECT coalesce(max(pos) + 1, 0) FROM heartbeats WHERE volume_id = ?");
  next.Bind(1, v.id);
  next.Step();
  const int64_t pos = next.Int(0);
  next.Run();
  db.Prepare(
        "INSERT INTO heartbeats(volume_id, pos, uuid, mac, driver_major, driver_minor, offset, "
        "lock_mode, alive) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1)")
      .Bind(1, v.id)
      .Bind(2, pos)
      .Bind(3, hb->uuid)
      .Bind(4, mac)
      .Bind(5, int64_t{hb->driver_major})
      .Bind(6, int64_t{hb->driver_minor})
      .Bind(7, hb->offset)
      .Bind(8, int64_t{hb->lock_mode})
      .Run();
  v.lock_mode = SettleLockModes(db, v.id);
}

void ReleaseSlot(Db& db, VolumeRecord& v) {
  const std::string mac = HostMac(db, v.host_id);
  if (mac.empty()) return;
  db.Prepare("DELETE FROM heartbeats WHERE volume_id = ? AND mac = ?")
      .Bind(1, v.id)
      .Bind(2, mac)
      .Run();
  v.lock_mode = SettleLockModes(db, v.id);
}

void SetSlotsAlive(Db& db, int64_t host, bool alive) {
  const std::string mac = HostMac(db, host);
  if (mac.empty()) return;
  db.Prepare("UPDATE heartbeats SET alive = ? WHERE mac = ?").Bind(1, alive).Bind(2, mac).Run();
  SettleLockModes(db, 0);
}

void RemoveSlots(Db& db, int64_t host) {
  const std::string mac = HostMac(db, host);
  if (mac.empty()) return;
  db.Prepare("DELETE FROM heartbeats WHERE mac = ?").Bind(1, mac).Run();
  SettleLockModes(db, 0);
}

}  // namespace Sim
}  // namespace HostCtl
