#include "hostctl/rules/volume_rules.h"

#include <unistd.h>

#include <random>

#include "hostctl/lib.h"
#include "hostctl/rules/heartbeats.h"
#include "hostctl/rules/lock_modes.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/volume_rows.h"

namespace HostCtl {
namespace Sim {

namespace {
const std::string kVolumesDir = "/kovra/volumes/";
}  // namespace

std::string VolumePath(std::string_view label_or_uuid) {
  std::string path;
  path.reserve(kVolumesDir.size() + label_or_uuid.size());
  path.append(kVolumesDir).append(label_or_uuid);
  return path;
}

bool IsVolumePath(std::string_view path, std::string_view label_or_uuid) {
  return path.size() == kVolumesDir.size() + label_or_uuid.size() &&
         path.compare(0, kVolumesDir.size(), kVolumesDir) == 0 &&
         path.substr(kVolumesDir.size()) == label_or_uuid;
}

std::optional<std::string> VolumePathKey(const std::string& path) {
  if (path.compare(0, kVolumesDir.size(), kVolumesDir) != 0) return std::nullopt;
  std::string key = path.substr(kVolumesDir.size());
  return key.substr(0, key.find('/'));
}

void Refuse(const std::string& action, const std::string& kind, const std::string& name,
            const std::string& reason) {
  throw Lib::HostCtlException("Cannot " + action + " " + kind + " '" + name + "': " + reason);
}

std::string MountProblem(Db& db, VolumeRecord& v) {
  if (!v.discovered) return "the host has not discovered it";
  if (!v.accessible) return "the storage behind it is not accessible";
  if (v.IsKovra()) {
    for (const auto& extent : VolumeExtents(db, v)) {
      if (!extent->attached) return "device " + extent->device + " is not attached";
    }
    std::string lock = LockProblem(db, v);
    if (!lock.empty()) return lock;
  }
  if (v.IsNas()) {
    std::string unreachable;
    for (const std::string& host : v.hosts) {
      const NfsServerRecord* server = VolumeServer(db, v, host);
      if (!server || server->reachable) return "";
      unreachable += (unreachable.empty() ? "" : ", ") + host;
    }
    return std::string("Unable to connect to NFS server") + (v.hosts.size() > 1 ? "s " : " ") +
           unreachable;
  }
  return "";
}

void ApplyMount(Db& db, VolumeRecord& v, int option) {
  if (option != 0 && option != 1 && option != 4) {
    Refuse("mount", "volume", v.name, "invalid mount option " + std::to_string(option));
  }
  if (v.mounted) Refuse("mount", "volume", v.name, "the volume is already mounted");
  std::string problem = MountProblem(db, v);
  if (!problem.empty()) Refuse("mount", "volume", v.name, problem);
  v.mounted = true;
  if (option != 1) v.persistent = true;
  // The strelnic configured as a parameter takes effect at a mount.
  if (v.IsNas()) v.strelnic = v.strelnic_param;
  if (v.IsKovra()) TakeSlot(db, v);
  SaveVolume(db, v);
}

int ApplyUnmount(Db& db, VolumeRecord& v, int option) {
  if (option != 0 && option != 1) {
    Refuse("unmount", "volume", v.name, "invalid unmount option " + std::to_string(option));
  }
  if (!v.mounted) Refuse("unmount", "volume", v.name, "the volume is not mounted");
  if (v.busy) return 1;
  v.mounted = false;
  if (option == 0) v.persistent = false;
  v.preunmount = false;
  if (v.IsKovra()) ReleaseSlot(db, v);
  SaveVolume(db, v);
  return 0;
}

bool VolumeAccessible(Db& db, VolumeRecord& v) {
  if (!v.accessible) return false;
  if (v.IsKovra()) {
    for (const auto& extent : VolumeExtents(db, v)) {
      if (!extent->attached) return false;
    }
  }
  if (v.IsNas()) {
    for (const std::string& host : v.hosts) {
      const NfsServerRecord* server = VolumeServer(db, v, host);
      if (!server || server->reachable) return true;
    }
    return false;
  }
  return true;
}

bool ExportReadOnly(Db& db, VolumeRecord& v) {
  for (const std::string& host : v.hosts) {
    const NfsServerRecord* server = VolumeServer(db, v, host);
    if (!server) continue;
    for (const std::string& share : server->read_only_exports) {
      if (share == v.share) return true;
    }
  }
  return false;
}

bool VolumeNameTaken(Db& db, const std::string& name) {
  // A SAN volume's name is taken on every host; a NAS volume's on its own.
  Stmt stmt = db.Prepare(
      "SELECT 1 FROM volumes v WHERE v.name = ? AND (v.type = 'Kovra' OR EXISTS (SELECT 1 FROM "
      "volume_views w WHERE w.volume_id = v.id AND w.host_id = " +
      ThisHost() + "))");
  stmt.Bind(1, name);
  return stmt.Step();
}

bool VolumeUuidTaken(Db& db, const std::string& uuid) {
  Stmt stmt = db.Prepare("SELECT 1 FROM volumes WHERE uuid = ?");
  stmt.Bind(1, uuid);
  return stmt.Step();
}

bool HostHasStrelnic(Db& db, const std::string& name) {
  Stmt stmt = db.Prepare("SELECT 1 FROM strelnics WHERE name = ? AND host_id = " + ThisHost());
  stmt.Bind(1, name);
  return stmt.Step();
}

std::string RandomHex(int digits) {
  // Seeded again in a forked child, so processes do not make the same ids.
  static std::mt19937_64 engine;
  static pid_t seeded_for = 0;
  if (seeded_for != getpid()) {
    engine.seed(std::random_device{}());
    seeded_for = getpid();
  }
  std::string out;
  for (int i = 0; i < digits; ++i) out += "0123456789abcdef"[engine() % 16];
  return out;
}

std::string NewKovraUuid() {
  return RandomHex(8) + "-" + RandomHex(8) + "-" + RandomHex(4) + "-" + RandomHex(12);
}

std::string NewNasUuid() { return RandomHex(8) + "-" + RandomHex(8); }

}  // namespace Sim
}  // namespace HostCtl
