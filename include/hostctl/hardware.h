// What the host reports of its hardware; storage commands read the kernel
// memory heaps.
#ifndef HOSTCTL_HARDWARE_H_
#define HOSTCTL_HARDWARE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostctl/lib.h"

namespace HostCtl {
namespace Hardware {

class HeapInfo : public virtual Lib::HostCtlObject {
 public:
  ~HeapInfo() override;
  virtual std::string GetName() = 0;
  virtual uint64_t GetCurrentSize() = 0;  // bytes
  virtual uint64_t GetMaxSize() = 0;      // bytes
};

class MemoryInfo : public virtual Lib::HostCtlObject {
 public:
  ~MemoryInfo() override;
  // The kernel heaps, in the host's order.
  virtual std::vector<std::unique_ptr<HeapInfo>> GetHeaps() = 0;
};

class HardwareInfo : public virtual Lib::HostCtlObject {
 public:
  ~HardwareInfo() override;
  virtual std::unique_ptr<MemoryInfo> GetMemoryInfo() = 0;
};

}  // namespace Hardware
}  // namespace HostCtl

#endif  // HOSTCTL_HARDWARE_H_
