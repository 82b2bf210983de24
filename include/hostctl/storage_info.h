// The host's storage as a whole.
#ifndef HOSTCTL_STORAGE_INFO_H_
#define HOSTCTL_STORAGE_INFO_H_

#include <memory>
#include <string>
#include <vector>

#include "hostctl/kovra_file_system.h"
#include "hostctl/pbcache.h"

namespace HostCtl {
namespace Storage {

class StorageInfo : public virtual Lib::HostCtlObject {
 public:
  ~StorageInfo() override;
  // Kovra volumes whose label or UUID equals `filter`; every one for "".
  virtual std::vector<std::unique_ptr<KovraFileSystem>> GetKovraFileSystems(
      const std::string& filter) = 0;
  virtual std::unique_ptr<PBCache> GetPBCache() = 0;
  // The Kovra volume, or null when there is none.
  virtual std::unique_ptr<KovraFileSystem> GetKovraFileSystemByUUID(const std::string& uuid) = 0;
  virtual std::unique_ptr<KovraFileSystem> GetKovraFileSystemByLabel(const std::string& label) = 0;
};

// While one is alive in a process, queries may answer from what an earlier
// query of the same scope read instead of reading the host again. `refresh`
// true drops what was read before the scope began.
class StorageInfoScopedCache {
 public:
  explicit StorageInfoScopedCache(bool refresh);
  ~StorageInfoScopedCache();
  StorageInfoScopedCache(const StorageInfoScopedCache&) = delete;
  StorageInfoScopedCache& operator=(const StorageInfoScopedCache&) = delete;
};

}  // namespace Storage
}  // namespace HostCtl

#endif  // HOSTCTL_STORAGE_INFO_H_
