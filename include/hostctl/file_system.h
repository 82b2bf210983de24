// A volume of any file-system type as the host knows it.
#ifndef HOSTCTL_FILE_SYSTEM_H_
#define HOSTCTL_FILE_SYSTEM_H_

#include <cstdint>
#include <string>

#include "hostctl/lib.h"

namespace HostCtl {
namespace Storage {

// Hardware acceleration (offload) support of a volume.
// A fixed underlying type: a host may report values this header does not name.
enum ArrakState : int {
  ARRAK_UNKNOWN = 0,
  ARRAK_SUPPORTED = 1,
  ARRAK_NOT_SUPPORTED = 2,
};

class FileSystem : public virtual Lib::HostCtlObject {
 public:
  ~FileSystem() override;
  // The option word of a mount, and of an unmount.
  enum MountOperationOption {
    MOUNT_DEFAULT = 0,     // persistent: outlasts a restart
    MOUNT_NO_PERSIST = 1,  // undone by the next restart
    MOUNT_RETRY = 4,       // ask the host to retry the mount
  };

  // Mounts the volume. Throws when it is already mounted or cannot be.
  virtual void Mount(int option) = 0;
  // Unmounts the volume. Returns 1 when it is busy and stays mounted, 0 when
  // done. Throws when it is not mounted or cannot be unmounted.
  virtual int Unmount(int option) = 0;
  virtual bool IsMounted() = 0;
  virtual int64_t GetCapacity() = 0;   // bytes
  virtual int64_t GetUsedSpace() = 0;  // bytes
  // "Kovra", "NFS", "NFS41", "vfat", "ufs", ...
  virtual std::string GetType() = 0;
  virtual std::string GetMountPoint() = 0;
  virtual std::string GetVolumeName() = 0;
  virtual std::string GetUuid() = 0;
  virtual ArrakState GetArrakState() = 0;
};

}  // namespace Storage
}  // namespace HostCtl

#endif  // HOSTCTL_FILE_SYSTEM_H_
