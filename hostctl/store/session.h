// The simulated host as one process sees it: which store it uses, the open
// connection (opened on first use), the faults read from it, and the
// generation that tells a scoped cache when the host changed.
#ifndef HOSTCTL_STORE_SESSION_H_
#define HOSTCTL_STORE_SESSION_H_

#include <cstdint>
#include <memory>
#include <string>

#include "hostctl/rules/faults.h"
#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

class Session {
 public:
  // The process's session. Not for use from several threads at once.
  static Session& Get();

  // Chooses the store file ("" for the default); closes a store opened before.
  void SetPath(const std::string& path);
  // The chosen path, or the resolved default when none was chosen.
  std::string Path() const;

  // The open store, opened (and made from the default host) on first use.
  // Throws StoreError.
  Db& db();
  // The faults, read from the store once.
  FaultTable& Faults();

  // Ends the sharing of reads (Db::ShareReads) on the open store, if any.
  void EndSharedReads();

  // Replaces the store by a fresh in-memory one holding `model`.
  void UseMemory(const HostModel& model);
  // Closes the store; the next operation opens it again. Call before fork()
  // so that a child never shares the parent's connection.
  void Close();

  // Counts the writes of this process, for StorageInfoScopedCache.
  uint64_t generation() const { return generation_; }
  void Wrote() { ++generation_; }

 private:
  Session();
  ~Session();

  std::string path_;
  bool path_set_ = false;
  std::unique_ptr<Db> db_;
  FaultTable faults_;
  bool faults_loaded_ = false;
  uint64_t generation_ = 0;
};

// Runs `change` in one write transaction (BEGIN IMMEDIATE) and commits.
template <typename Change>
void WriteTransaction(Change&& change);

}  // namespace Sim
}  // namespace HostCtl

#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {

template <typename Change>
void WriteTransaction(Change&& change) {
  Session& session = Session::Get();
  Db& db = session.db();
  Transaction tx(db);
  change(db);
  tx.Commit();
  session.Wrote();
}

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_SESSION_H_
