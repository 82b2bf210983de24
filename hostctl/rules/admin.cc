#include "hostctl/rules/admin.h"

#include "hostctl/rules/sim.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/session.h"
#include "hostctl/store/snapshot_rows.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/store_file.h"
#include "hostctl/store/volume_rows.h"

namespace HostCtl {
namespace Sim {

bool InitHost(const HostModel& model, bool force) {
  Session& session = Session::Get();
  std::string path = session.Path();
  session.Close();
  return InitStoreFile(path, model, force);
}

void RestartHost() {
  WriteTransaction([](Db& db) {
    // Snapshots mounted for one boot become unresolved again.
    std::vector<std::pair<int64_t, int64_t>> links;
    {
      Stmt stmt = db.Prepare(
          "SELECT s.id, v.id FROM snapshots s JOIN volumes v ON v.id = s.mounted_as "
          "WHERE v.persistent = 0");
      while (stmt.Step()) links.emplace_back(stmt.Int(0), stmt.Int(1));
    }
    for (const auto& link : links) {
      MarkSnapshotMounted(db, link.first, 0);
      db.Prepare("DELETE FROM volumes WHERE id = ?").Bind(1, link.second).Run();
    }
    for (VolumeRecord& v : LoadVolumes(db, VolumeQuery())) {
      v.mounted = v.persistent && MountProblem(db, v).empty();
      if (v.mounted && v.IsNas()) v.strelnic = v.strelnic_param;
      v.preunmount = false;
      v.queue_depth = v.boot_queue_depth;
      SaveVolume(db, v);
    }
  });
}

void AddFault(const FaultRecord& f) {
  WriteTransaction([&](Db& db) {
    db.Prepare("INSERT INTO faults(operation, object, message, nth, times) VALUES (?, ?, ?, ?, ?)")
        .Bind(1, f.operation)
        .Bind(2, f.object)
        .Bind(3, f.message)
        .Bind(4, f.nth)
        .Bind(5, f.times)
        .Run();
  });
}

std::vector<FaultRecord> ListFaults() { return ReadFaults(Session::Get().db()); }

void ClearFaults() {
  WriteTransaction([](Db& db) { db.Exec("DELETE FROM faults"); });
}

std::map<unsigned, bool> ListFeatures() {
  std::map<unsigned, bool> features;
  Stmt stmt = Session::Get().db().Prepare("SELECT number, enabled FROM features ORDER BY number");
  while (stmt.Step()) features[static_cast<unsigned>(stmt.Int(0))] = stmt.Int(1) != 0;
  return features;
}

void SetFeature(unsigned number, bool on) {
  WriteTransaction([&](Db& db) {
    db.Prepare("INSERT OR REPLACE INTO features(number, enabled) VALUES (?, ?)")
        .Bind(1, int64_t{number})
        .Bind(2, on)
        .Run();
  });
}

std::vector<EventRecord> ListEvents() { return ReadEvents(Session::Get().db()); }

void ClearEvents() {
  WriteTransaction([](Db& db) { db.Exec("DELETE FROM events"); });
}

std::string HostName() {
  Stmt stmt = Session::Get().db().Prepare("SELECT name FROM host");
  return stmt.Step() ? stmt.Text(0) : std::string();
}

void ChooseHost(const std::string& name) {
  if (name.empty()) return;
  const std::string host = HostName();
  if (name != host) throw UnknownHostError(name, {host});
}

}  // namespace Sim
}  // namespace HostCtl
