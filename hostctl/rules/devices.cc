#include "hostctl/rules/devices.h"

#include "hostctl/rules/cluster.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {
namespace {

struct Device {
  int64_t id;
  bool attached;  // to the SAN
};

Device Find(Db& db, const std::string& name) {
  Stmt stmt = db.Prepare("SELECT id, attached FROM devices WHERE name = ?");
  stmt.Bind(1, name);
  if (!stmt.Step()) throw ClusterError("unknown device '" + name + "'");
  Device device{stmt.Int(0), stmt.Int(1) != 0};
  stmt.Run();
  return device;
}

// The id of host `name`, or 0 for "" (every host).
int64_t HostOf(Db& db, const std::string& name) { return name.empty() ? 0 : HostIdOf(db, name); }

bool Unreachable(Db& db, int64_t host, int64_t device) {
  Stmt stmt = db.Prepare("SELECT 1 FROM unreachable WHERE host_id = ? AND device_id = ?");
  stmt.Bind(1, host).Bind(2, device);
  const bool found = stmt.Step();
  stmt.Run();
  return found;
}

// "host_id = N" for one host, or every host.
std::string Hosts(int64_t host) {
  return host ? "w.host_id = " + std::to_string(host) : std::string("1");
}

}  // namespace

std::vector<std::string> DetachDevices(const std::vector<std::string>& names,
                                       const std::string& host_name) {
  std::vector<std::string> keep;
  WriteTransaction([&](Db& db) {
    const int64_t host = HostOf(db, host_name);
    for (const std::string& name : names) {
      const Device device = Find(db, name);
      if (!device.attached || (host && Unreachable(db, host, device.id))) {
        throw ClusterError("device '" + name + "' is detached already");
      }
      // From the device's extents to the hosts that mount them, in that order.
      Stmt mounted = db.Prepare(
          "SELECT DISTINCT h.name, v.name FROM extents e CROSS JOIN volume_views w ON w.volume_id "
          "= "
          "e.volume_id JOIN volumes v ON v.id = e.volume_id JOIN host h ON h.id = w.host_id "
          "WHERE e.device_id = ? AND w.mounted = 1 AND " +
          Hosts(host) + " ORDER BY h.id, v.id");
      mounted.Bind(1, device.id);
      while (mounted.Step()) {
        keep.push_back(name + ": volume '" + mounted.Text(1) + "' is mounted on host '" +
                       mounted.Text(0) + "'");
      }
    }
    if (!keep.empty()) return;  // the transaction ends unchanged
    for (const std::string& name : names) {
      const Device device = Find(db, name);
      if (host) {
        db.Prepare("INSERT INTO unreachable(host_id, device_id) VALUES (?, ?)")
            .Bind(1, host)
            .Bind(2, device.id)
            .Run();
      } else {
        db.Prepare("UPDATE devices SET attached = 0 WHERE id = ?").Bind(1, device.id).Run();
      }
      // The hosts it is taken from forget the volumes on it.
      db.Prepare("UPDATE volume_views AS w SET discovered = 0 WHERE " + Hosts(host) +
                 " AND w.volume_id IN (SELECT volume_id FROM extents WHERE device_id = ?)")
          .Bind(1, device.id)
          .Run();
    }
  });
  if (keep.empty()) Session::Get().ForgetHost();
  return keep;
}

void AttachDevices(const std::vector<std::string>& names, const std::string& host_name) {
  WriteTransaction([&](Db& db) {
    const int64_t host = HostOf(db, host_name);
    for (const std::string& name : names) {
      const Device device = Find(db, name);
      if (host) {
        if (!device.attached) {
          throw ClusterError("device '" + name +
                             "' is detached from every host: attach it without --on-host");
        }
        if (!Unreachable(db, host, device.id)) {
          throw ClusterError("device '" + name + "' is attached already");
        }
        db.Prepare("DELETE FROM unreachable WHERE host_id = ? AND device_id = ?")
            .Bind(1, host)
            .Bind(2, device.id)
            .Run();
      } else {
        const bool anywhere = db.QueryInt("SELECT count(*) FROM unreachable WHERE device_id = " +
                                          std::to_string(device.id)) > 0;
        if (device.attached && !anywhere) {
          throw ClusterError("device '" + name + "' is attached already");
        }
        db.Prepare("UPDATE devices SET attached = 1 WHERE id = ?").Bind(1, device.id).Run();
        db.Prepare("DELETE FROM unreachable WHERE device_id = ?").Bind(1, device.id).Run();
      }
    }
  });
}

}  // namespace Sim
}  // namespace HostCtl
