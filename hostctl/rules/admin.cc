#include "hostctl/rules/admin.h"

#include "hostctl/rules/sim.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/host_rows.h"
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

void AddFault(const FaultRecord& f) {
  FaultRecord armed = f;  // not called yet
  armed.calls = 0;
  armed.fired = 0;
  WriteTransaction([&](Db& db) { WriteFault(db, Session::Get().HostId(), armed); });
}

std::vector<FaultRecord> ListFaults() {
  Session& session = Session::Get();
  return ReadFaults(session.db(), session.HostId());
}

void ClearFaults() {
  WriteTransaction([](Db& db) { db.Exec("DELETE FROM faults WHERE host_id = " + ThisHost()); });
}

std::map<unsigned, bool> ListFeatures() {
  std::map<unsigned, bool> features;
  Stmt stmt = Session::Get().db().Prepare(
      "SELECT number, enabled FROM features WHERE host_id = " + ThisHost() + " ORDER BY number");
  while (stmt.Step()) features[static_cast<unsigned>(stmt.Int(0))] = stmt.Int(1) != 0;
  return features;
}

void SetFeature(unsigned number, bool on) {
  WriteTransaction([&](Db& db) {
    db.Prepare("INSERT OR REPLACE INTO features(host_id, number, enabled) VALUES (?, ?, ?)")
        .Bind(1, Session::Get().HostId())
        .Bind(2, int64_t{number})
        .Bind(3, on)
        .Run();
  });
}

std::vector<EventRecord> ListEvents() {
  Session& session = Session::Get();
  return ReadEvents(session.db(), session.HostId());
}

void ClearEvents() {
  WriteTransaction([](Db& db) { db.Exec("DELETE FROM events WHERE host_id = " + ThisHost()); });
}

std::string ChosenHost() { return Session::Get().ChosenHost(); }

std::string HostName() { return Session::Get().HostName(); }

void ChooseHost(const std::string& name) {
  Session& session = Session::Get();
  session.SetHost(name);
  if (!name.empty()) session.HostId();
}

void RequireHostUp() {
  Session& session = Session::Get();
  if (!session.HostUp()) throw HostIsDownError(session.HostName());
}

}  // namespace Sim
}  // namespace HostCtl
