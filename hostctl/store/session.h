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

  // Chooses the store file ("" for the default); closes a store opened before
  // and forgets the host chosen on it, as UseMemory() does.
  void SetPath(const std::string& path);
  // The chosen path, or the resolved default when none was chosen.
  std::string Path() const;

  // The open store, opened (and made from the default host) on first use.
  // Throws StoreError.
  Db& db();
  // The faults of the host, read from the store once.
  FaultTable& Faults();

  // Chooses the host this process works on by name; "" (the default) means
  // the store's only host. Takes effect at the next HostId().
  void SetHost(const std::string& name);
  // The chosen host's row id, looked up once per opened store. Throws
  // UnknownHostError for a name the store has no host of, or for no name
  // when the store has several hosts. Throws StoreError.
  int64_t HostId();
  // The chosen host's name, and whether it was up when HostId() looked.
  const std::string& HostName() {
    HostId();
    return host_name_;
  }
  bool HostUp() {
    HostId();
    return host_up_;
  }
  // The name SetHost() was given ("" for none).
  const std::string& ChosenHost() const { return host_; }
  // Makes the next HostId() look again (after a change to the hosts).
  void ForgetHost() { host_id_ = 0; }

  // Dry-run mode for the store, open or opened later (Db::SetDryRun).
  void SetDryRun(bool on);
  bool DryRun() const { return dry_run_; }
  // The open store, or null when none was opened.
  Db* OpenDb() { return db_.get(); }

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
  std::string host_;
  int64_t host_id_ = 0;  // 0 until looked up
  std::string host_name_;
  bool host_up_ = true;
  FaultTable faults_;
  bool faults_loaded_ = false;
  uint64_t generation_ = 0;
  bool dry_run_ = false;
};

// The session's host id as SQL text, for statements that read or change
// one host's own rows: `"... WHERE host_id = " + ThisHost()`. (A literal,
// so each statement stays one cached statement per process.)
std::string ThisHost();

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
