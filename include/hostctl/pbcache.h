// The host-wide pointer-block cache of the clustered file system.
#ifndef HOSTCTL_PBCACHE_H_
#define HOSTCTL_PBCACHE_H_

#include <cstdint>

#include "hostctl/lib.h"

namespace HostCtl {
namespace Storage {

struct PBCacheStats {
  uint64_t cacheSize = 0;         // bytes
  uint64_t cacheSizeMax = 0;      // bytes
  uint64_t workingSet = 0;        // bytes
  uint64_t workingSetMax = 0;     // bytes
  uint64_t heapOverhead = 0;      // bytes
  int32_t capacityMissRatio = 0;  // percent
};

class PBCache : public virtual Lib::HostCtlObject {
 public:
  ~PBCache() override;
  virtual PBCacheStats GetStats() = 0;
  // Clears the counters a reset clears: the capacity miss ratio and the
  // working-set maximum (which restarts from the current working set).
  virtual void ResetStats() = 0;
};

}  // namespace Storage
}  // namespace HostCtl

#endif  // HOSTCTL_PBCACHE_H_
