// Opening, creating and initialising the store file, with every check that
// keeps a file that is not a usable store exactly as it was.
#ifndef HOSTCTL_STORE_STORE_FILE_H_
#define HOSTCTL_STORE_STORE_FILE_H_

#include <functional>
#include <memory>
#include <string>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// How long a process waits for another one's write lock.
constexpr int kBusyTimeoutMs = 5000;

// Opens the store at `path` for use, migrating an older schema. When no file
// is there, makes one from `initial()` (see store_path.h for where); two processes
// doing so at once end up with one store. Throws StoreError for a directory,
// a file that is not SQLite or not ours, a newer schema, a read-only file, a
// lock held longer than the busy timeout, a full disk.
std::unique_ptr<Db> OpenStoreFile(const std::string& path,
                                  const std::function<HostModel()>& initial);

// A plain connection to the SQLite file at `path` (made when missing), with
// none of the checks above: for tests that change a store behind the host's
// back, through the one SQLite the process has.
std::unique_ptr<Db> OpenRawStoreFile(const std::string& path);

// A fresh store in memory holding `model`.
std::unique_ptr<Db> OpenMemoryStore(const HostModel& model);

// Makes the store at `path` hold `model`: a new file (its missing
// directories made), or, with `force`, an
// existing store rewritten in one transaction. False when a file is there and
// `force` is not given (nothing written). Throws StoreError.
bool InitStoreFile(const std::string& path, const HostModel& model, bool force);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_STORE_FILE_H_
