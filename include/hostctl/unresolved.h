// Snapshots and replicas of Kovra volumes that the host has found but not
// resolved yet (not mounted with their signature kept, not resignatured).
#ifndef HOSTCTL_UNRESOLVED_H_
#define HOSTCTL_UNRESOLVED_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostctl/kovra_file_system.h"

namespace HostCtl {
namespace Storage {

// Why an unresolved volume cannot be resolved: 0 ok, 1 duplicate extents,
// 2 extents missing, 3 extra extents, 4 active-volume check failed, 5 in
// use, 6 original online, 7 original has extents online.
using ResolveReason = uint32_t;

class UnresolvedKovraExtent : public virtual DiskLunPartition {
 public:
  ~UnresolvedKovraExtent() override;
  virtual int64_t GetStart() = 0;
  virtual int64_t GetEnd() = 0;
};

class UnresolvedKovraVolume : public virtual Lib::HostCtlObject {
 public:
  ~UnresolvedKovraVolume() override;
  virtual std::string GetLvmUuid() = 0;
  virtual std::string GetUuid() = 0;
  virtual std::string GetVolumeName() = 0;
  // In extent order; a slot may be empty where an extent was not found.
  virtual std::vector<std::unique_ptr<UnresolvedKovraExtent>> GetExtents() = 0;
  // Whether the volume can be resolved: `resignature` true asks about giving
  // it a new signature, `mount` true about mounting it with its signature
  // kept; both false asks whether a resignature can proceed now. On false,
  // writes the reason to `reason` (when not null).
  virtual bool CanResolve(bool resignature, bool mount, ResolveReason* reason) = 0;
  // Gives the volume a new UUID and label; it becomes an ordinary mounted
  // volume. Returns that volume.
  virtual std::unique_ptr<Lib::HostCtlObject> Resignature() = 0;
  // Mounts the volume with its UUID kept. `persistent` false: a restart
  // makes it unresolved again. Returns the mounted volume.
  virtual std::unique_ptr<Lib::HostCtlObject> Mount(bool force, bool persistent) = 0;
};

}  // namespace Storage
}  // namespace HostCtl

#endif  // HOSTCTL_UNRESOLVED_H_
