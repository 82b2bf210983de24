#include "hostctl/store/session.h"

#include <sys/stat.h>

#include <cerrno>

#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/store_file.h"
#include "hostctl/store/store_path.h"

namespace HostCtl {
namespace Sim {

Session& Session::Get() {
  // Destroyed at exit, which closes the store and folds its WAL back into the
  // file. A forked child that does not exec must leave with _exit().
  static Session session;
  return session;
}

Session::Session() = default;
Session::~Session() = default;

void Session::SetPath(const std::string& path) {
  Close();
  host_.clear();
  path_ = path;
  path_set_ = !path.empty();
}

std::string Session::Path() const { return path_set_ ? path_ : ResolveStorePath(""); }

Db& Session::db() {
  if (!db_) {
    std::string path = Path();
    if (path.empty()) throw StoreError("no store path: set --store or TARVEX_HOST_STORE");
    auto initial = [] { return LoadFixture(DefaultHostFixture(), "<default host>"); };
    struct stat st;
    if (dry_run_ && lstat(path.c_str(), &st) != 0 && errno == ENOENT) {
      // A dry run makes no store: the host a first use would make, in memory.
      CheckStorePath(path);
      if (path != DefaultStorePath()) PrepareStoreDirectory(path, false);
      db_ = OpenMemoryStore(initial());
    } else {
      db_ = OpenStoreFile(path, initial);
    }
    if (dry_run_) db_->SetDryRun(true);
  }
  return *db_;
}

void Session::SetHost(const std::string& name) {
  host_ = name;
  host_id_ = 0;
  faults_.Clear();
  faults_loaded_ = false;
  ++generation_;
}

int64_t Session::HostId() {
  if (host_id_ != 0) return host_id_;
  std::vector<std::string> names;
  int64_t found = 0;
  Stmt stmt = db().Prepare("SELECT id, name, up FROM host ORDER BY id");
  while (stmt.Step()) {
    names.push_back(stmt.Text(1));
    if (host_.empty() || names.back() == host_) {
      found = stmt.Int(0);
      host_name_ = names.back();
      host_up_ = stmt.Int(2) != 0;
    }
  }
  if (host_.empty() && names.size() > 1) found = 0;
  if (found == 0) throw UnknownHostError(host_, names);
  host_id_ = found;
  return host_id_;
}

std::string ThisHost() { return std::to_string(Session::Get().HostId()); }

FaultTable& Session::Faults() {
  if (!faults_loaded_) {
    faults_.Load(db());
    faults_loaded_ = true;
  }
  return faults_;
}

void Session::SetDryRun(bool on) {
  dry_run_ = on;
  if (db_) db_->SetDryRun(on);
}

void Session::EndSharedReads() {
  if (db_) db_->ShareReads(false);
}

void Session::UseMemory(const HostModel& model) {
  std::unique_ptr<Db> db = OpenMemoryStore(model);
  Close();
  db_ = std::move(db);
  if (dry_run_) db_->SetDryRun(true);
  host_.clear();
  ++generation_;
}

void Session::Close() {
  db_.reset();
  host_id_ = 0;
  faults_.Clear();
  faults_loaded_ = false;
  ++generation_;
}

}  // namespace Sim
}  // namespace HostCtl
