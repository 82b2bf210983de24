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
  return device;
}

// The id of host `name`, or 0 for "" (every host).
int64_t HostOf(Db& db, const std::string& name) { return name.empty() ? 0 : HostIdOf(db, name); }

// How many of the hosts `host` names (one, or 0 for every host) cannot reach
// the device, and how many it names.
std::pair<int64_t, int64_t> Unreached(Db& db, int64_t host, int64_t device) {
  Stmt stmt = db.Prepare(
      "SELECT (SELECT count(*) FROM unreachable u WHERE u.device_id = ?1 AND (?2 = 0 OR "
      "u.host_id = ?2)), (SELECT count(*) FROM host WHERE ?2 = 0 OR id = ?2)");
  stmt.Bind(1, device).Bind(2, host);
  stmt.Step();
  std::pair<int64_t, int64_t> counts{stmt.Int(0), stmt.Int(1)};
  return counts;
}

// "host_id = N" (with `table`'s prefix) for one host, or every host.
std::string Hosts(int64_t host, const std::string& table = "") {
  return host ? table + "host_id = " + std::to_string(host) : std::string("1");
}

}  // namespace

std::vector<std::string> DetachDevices(const std::vector<std::string>& names,
                                       const std::string& host_name) {
  std::vector<std::string> keep;
  WriteTransaction([&](Db& db) {
    const int64_t host = HostOf(db, host_name);
    for (const std::string& name : names) {
      const Device device = Find(db, name);
      const auto unreached = Unreached(db, host, device.id);
      if (!device.attached || unreached.first == unreached.second) {
        throw ClusterError("device '" + name + "' is detached already");
      }
      // From the device's extents to the hosts that have them mounted, in
      // that order (an index holds the mounted views only).
      Stmt mounted = db.Prepare(
          "SELECT DISTINCT h.name, v.name FROM extents e CROSS JOIN volume_views w ON "
          "w.volume_id = e.volume_id JOIN volumes v ON v.id = e.volume_id JOIN host h ON h.id = "
          "w.host_id "
          "WHERE e.device_id = ? AND w.mounted = 1 AND " +
          Hosts(host, "w.") + " ORDER BY h.id, v.id");
      mounted.Bind(1, device.id);
      while (mounted.Step()) {
        keep.push_back(name + ": volume '" + mounted.Text(1) + "' is mounted on host '" +
                       mounted.Text(0) + "'");
      }
    }
    if (!keep.empty()) return;  // the transaction ends unchanged
    // A host does not list a volume on a device it cannot reach (see
    // WhereClause in volume_rows.cc), so nothing of the volumes is written.
    for (const std::string& name : names) {
      db.Prepare(
            "INSERT OR IGNORE INTO unreachable(host_id, device_id) SELECT id, ? FROM host "
            "WHERE " +
            std::string(host ? "id = " + std::to_string(host) : "1"))
          .Bind(1, Find(db, name).id)
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
      if (host && !device.attached) {
        throw ClusterError("device '" + name +
                           "' is detached from the SAN: attach it without --on-host");
      }
      if (device.attached && Unreached(db, host, device.id).first == 0) {
        throw ClusterError("device '" + name + "' is attached already");
      }
      // The hosts it comes back to have forgotten the volumes on it: they
      // find them at their next rescan.
      db.Prepare(
            "UPDATE volume_views AS w SET discovered = 0 WHERE w.host_id IN (SELECT host_id "
            "FROM unreachable WHERE device_id = ?1 AND " +
            Hosts(host) + ") AND w.volume_id IN (SELECT volume_id FROM extents WHERE " +
            "device_id = ?1)")
          .Bind(1, device.id)
          .Run();
      db.Prepare("DELETE FROM unreachable WHERE device_id = ? AND " + Hosts(host))
          .Bind(1, device.id)
          .Run();
      if (!host)
        db.Prepare("UPDATE devices SET attached = 1 WHERE id = ?").Bind(1, device.id).Run();
    }
  });
}

}  // namespace Sim
}  // namespace HostCtl
