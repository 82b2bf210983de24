// The host itself.
#ifndef HOSTCTL_HOST_H_
#define HOSTCTL_HOST_H_

#include <memory>

#include "hostctl/adv.h"
#include "hostctl/hardware.h"
#include "hostctl/storage_info.h"

namespace HostCtl {

class Host : public virtual Lib::HostCtlObject {
 public:
  ~Host() override;
  virtual std::unique_ptr<Storage::StorageInfo> GetStorageInfo() = 0;
  virtual std::unique_ptr<Adv::AdvancedOptions> GetAdvancedOptions() = 0;
  virtual std::unique_ptr<Hardware::HardwareInfo> GetHardwareInfo() = 0;
};

class HostFactory {
 public:
  // The host this process manages.
  static std::unique_ptr<Host> GetHost();
};

}  // namespace HostCtl

#endif  // HOSTCTL_HOST_H_
