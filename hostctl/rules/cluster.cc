#include "hostctl/rules/cluster.h"

#include <cstdio>
#include <set>

#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/heartbeats.h"
#include "hostctl/rules/sim.h"
#include "hostctl/rules/snapshots.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/host_rows.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/session.h"
#include "hostctl/store/snapshot_rows.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/volume_rows.h"

namespace HostCtl {
namespace Sim {
namespace {

std::vector<std::string> Names(Db& db) {
  std::vector<std::string> names;
  Stmt stmt = db.Prepare("SELECT name FROM host ORDER BY id");
  while (stmt.Step()) names.push_back(stmt.Text(0));
  return names;
}

bool IsUp(Db& db, int64_t host) {
  Stmt stmt = db.Prepare("SELECT up FROM host WHERE id = ?");
  stmt.Bind(1, host);
  const bool up = stmt.Step() && stmt.Int(0) != 0;
  return up;
}

// A locally administered MAC address no host and no slot in `used` has.
std::string FreeMac(std::set<std::string>& used) {
  for (unsigned n = 1;; ++n) {
    char mac[32];
    std::snprintf(mac, sizeof mac, "02:7a:3e:10:%02x:%02x", (n >> 8) & 0xff, n & 0xff);
    if (used.insert(mac).second) return mac;
  }
}

// The restart rules for host `host`: mounts and unmounts made for one boot
// undone, the volume mounted from a snapshot for one boot a snapshot again,
// the slots following what it mounts.
void Boot(Db& db, int64_t host) {
  UndoSnapshotMounts(db, host);
  VolumeQuery query;
  query.host = host;
  for (VolumeRecord& v : LoadVolumes(db, query)) {
    v.mounted = v.persistent && MountProblem(db, v).empty();
    if (v.mounted && v.IsNas()) v.strelnic = v.strelnic_param;
    v.preunmount = false;
    v.queue_depth = v.boot_queue_depth;
    if (v.IsKovra() && v.mounted) TakeSlot(db, v);
    if (v.IsKovra() && !v.mounted) ReleaseSlot(db, v);
    SaveVolume(db, v);
  }
  db.Prepare("UPDATE host SET up = 1 WHERE id = ?").Bind(1, host).Run();
}

}  // namespace

int64_t HostIdOf(Db& db, const std::string& name) {
  Stmt stmt = db.Prepare("SELECT id FROM host WHERE name = ?");
  stmt.Bind(1, name);
  const int64_t id = stmt.Step() ? stmt.Int(0) : 0;
  if (id == 0) throw UnknownHostError(name, Names(db));
  return id;
}

std::string HostNameProblem(const std::string& name) {
  if (name.empty()) return "a host name cannot be empty";
  for (unsigned char c : name) {
    if (c <= ' ' || c == 0x7f) return "a host name has no blanks or control characters";
  }
  return "";
}

HostModel MakeCluster(const HostModel& base, const std::vector<std::string>& names) {
  std::set<std::string> seen;
  for (const std::string& name : names) {
    const std::string problem = HostNameProblem(name);
    if (!problem.empty()) throw ClusterError("'" + name + "': " + problem);
    if (!seen.insert(name).second) throw ClusterError("host '" + name + "' is named twice");
  }
  std::set<std::string> macs;
  if (!base.mac.empty()) macs.insert(base.mac);
  for (const VolumeModel& v : base.volumes) {
    for (const HeartbeatRecord& hb : v.heartbeats) macs.insert(hb.mac);
  }
  HostModel cluster = base;
  cluster.others.clear();
  cluster.host = names.front();
  if (cluster.mac.empty()) cluster.mac = FreeMac(macs);
  for (size_t i = 1; i < names.size(); ++i) {
    HostModel other = base;
    other.others.clear();
    other.host = names[i];
    other.mac = FreeMac(macs);
    cluster.others.push_back(std::move(other));
  }
  // A slot on each Kovra volume a host has mounted; the slots of hosts
  // outside the simulation stay.
  for (size_t i = 0; i <= cluster.others.size(); ++i) {
    const std::string& mac = i == 0 ? cluster.mac : cluster.others[i - 1].mac;
    for (VolumeModel& v : cluster.volumes) {
      if (!v.volume.IsKovra() || !v.volume.mounted) continue;
      bool has = false;
      for (const HeartbeatRecord& hb : v.heartbeats) has = has || hb.mac == mac;
      if (has) continue;
      std::optional<HeartbeatRecord> slot = NewSlot(v.volume, mac, v.heartbeats);
      if (!slot) {
        throw ClusterError("too many hosts: volume '" + v.volume.name + "' has " +
                           std::to_string(kHeartbeatSlots) + " heartbeat slots");
      }
      v.heartbeats.push_back(*slot);
    }
  }
  return cluster;
}

std::vector<HostSummary> ListHosts() {
  Db& db = Session::Get().db();
  std::vector<HostSummary> hosts;
  Stmt stmt = db.Prepare(
      "SELECT h.name, h.up, h.mac, (SELECT count(*) FROM volume_views w WHERE w.host_id = h.id "
      "AND w.mounted = 1), h.ats_only FROM host h ORDER BY h.id");
  while (stmt.Step()) {
    hosts.push_back({stmt.Text(0), stmt.Int(1) != 0, stmt.Text(2), stmt.Int(3), stmt.Int(4) != 0});
  }
  return hosts;
}

void AddHost(const std::string& name, bool ats_only) {
  const std::string problem = HostNameProblem(name);
  if (!problem.empty()) throw ClusterError("'" + name + "': " + problem);
  const HostModel defaults = LoadFixture(DefaultHostFixture(), "<default host>");
  WriteTransaction([&](Db& db) {
    Stmt taken = db.Prepare("SELECT 1 FROM host WHERE name = ?");
    taken.Bind(1, name);
    if (taken.Step()) throw ClusterError("host '" + name + "' exists already");
    taken.Run();
    std::set<std::string> macs;
    {
      Stmt stmt = db.Prepare("SELECT mac FROM host UNION SELECT mac FROM heartbeats");
      while (stmt.Step()) macs.insert(stmt.Text(0));
    }
    HostModel host = defaults;
    host.host = name;
    host.mac = FreeMac(macs);
    host.ats_only = ats_only;
    host.volumes.clear();
    host.faults.clear();
    host.events.clear();
    const int64_t id = AddHostRows(db, host);
    // It sees the whole SAN, and has mounted nothing yet.
    db.Prepare(
          "INSERT INTO volume_views(host_id, volume_id, mount_point, mounted, persistent, "
          "discovered, busy, accessible) SELECT ?, w.volume_id, w.mount_point, 0, 0, 1, 0, 1 "
          "FROM volume_views w JOIN volumes v ON v.id = w.volume_id WHERE v.type = 'Kovra' "
          "AND w.host_id = (SELECT min(id) FROM host)")
        .Bind(1, id)
        .Run();
  });
  Session::Get().ForgetHost();
}

void RemoveHost(const std::string& name) {
  WriteTransaction([&](Db& db) {
    const int64_t id = HostIdOf(db, name);
    if (db.QueryInt("SELECT count(*) FROM host") == 1) {
      throw ClusterError("host '" + name + "' is the store's only host");
    }
    if (IsUp(db, id)) {
      std::string mounted;
      Stmt stmt = db.Prepare(
          "SELECT v.name FROM volume_views w JOIN volumes v ON v.id = w.volume_id WHERE "
          "w.host_id = ? AND w.mounted = 1 AND v.type = 'Kovra' ORDER BY v.id");
      stmt.Bind(1, id);
      while (stmt.Step()) mounted += (mounted.empty() ? "" : ", ") + stmt.Text(0);
      if (!mounted.empty()) {
        throw ClusterError("host '" + name + "' is up with Kovra volumes mounted (" + mounted +
                           "): unmount them or crash it first");
      }
    }
    RemoveSlots(db, id);
    // Its NAS volumes are its own; its views and own rows go with the host.
    db.Prepare(
          "DELETE FROM volumes WHERE type != 'Kovra' AND id IN (SELECT volume_id FROM "
          "volume_views WHERE host_id = ?)")
        .Bind(1, id)
        .Run();
    db.Prepare("DELETE FROM host WHERE id = ?").Bind(1, id).Run();
  });
  Session::Get().ForgetHost();
}

void CrashHost(const std::string& name) {
  WriteTransaction([&](Db& db) {
    const int64_t id = HostIdOf(db, name);
    if (!IsUp(db, id)) throw ClusterError("host '" + name + "' is down already");
    SetSlotsAlive(db, id, false);
    db.Prepare("UPDATE host SET up = 0 WHERE id = ?").Bind(1, id).Run();
  });
  Session::Get().ForgetHost();
}

void BootHost(const std::string& name) {
  WriteTransaction([&](Db& db) {
    const int64_t id = HostIdOf(db, name);
    if (IsUp(db, id)) throw ClusterError("host '" + name + "' is up already");
    Boot(db, id);
  });
  Session::Get().ForgetHost();
}

void RestartHost() {
  WriteTransaction([](Db& db) {
    const int64_t id = Session::Get().HostId();
    SetSlotsAlive(db, id, false);
    Boot(db, id);
  });
  Session::Get().ForgetHost();
}

}  // namespace Sim
}  // namespace HostCtl
