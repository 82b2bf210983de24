// A volume of the clustered file system (Kovra) and the records it hands out.
#ifndef HOSTCTL_KOVRA_FILE_SYSTEM_H_
#define HOSTCTL_KOVRA_FILE_SYSTEM_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostctl/file_system.h"

namespace HostCtl {
namespace Network {

class MacAddress {
 public:
  MacAddress() = default;
  explicit MacAddress(std::string address) : address_(std::move(address)) {}
  // The colon-separated lower-case form, e.g. "02:7a:3e:5e:1b:2c".
  std::string GetStringAddress() const { return address_; }

 private:
  std::string address_;
};

}  // namespace Network

namespace Storage {

// One disk partition: a device and a partition number on it.
class DiskLunPartition : public virtual Lib::HostCtlObject {
 public:
  ~DiskLunPartition() override;
  virtual std::string GetDeviceName() = 0;
  // May exceed 255 on a damaged label; callers that show it keep the low 8 bits.
  virtual unsigned int GetPartitionNumber() = 0;
};

// One host in a volume's heartbeat region.
struct KovraUserInfo {
  std::string heartbeatUuid;
  Network::MacAddress macAddress;
  uint32_t driverMajorVersion = 0;
  uint32_t driverMinorVersion = 0;
  int64_t heartbeatOffset = 0;
  uint8_t lockModeInUse = 0;  // 4: the host uses ATS-only locking
};

// A volume's automatic space-reclamation settings, stored as one record.
struct KovraVolumeUnmapProperty {
  uint32_t granularity = 0;  // bytes
  std::string priority;      // "none", "low", "medium", "high" or ""
  int32_t bandwidth = 0;     // MB/s, used by the "fixed" method
  std::string method;        // "priority" or "fixed"
  uint32_t reserved = 0;     // not used by this host
};

class KovraFileSystem : public virtual FileSystem {
 public:
  ~KovraFileSystem() override;
  // The type name that GetType() returns for a Kovra volume.
  static const std::string Kovra_TYPE;

  // Locking-mode flags: 0x10 ATS-only, 0x20 upgrade pending, 0x40 downgrade pending.
  static constexpr uint32_t LOCK_ATS_ONLY = 0x10;
  static constexpr uint32_t LOCK_UPGRADE_PENDING = 0x20;
  static constexpr uint32_t LOCK_DOWNGRADE_PENDING = 0x40;

  virtual uint32_t GetLockMode() = 0;
  virtual void SetLockMode(uint32_t flags) = 0;
  virtual uint32_t GetMajorVersion() = 0;
  // The volume's extents in volume order.
  virtual std::vector<std::unique_ptr<DiskLunPartition>> GetExtents() = 0;
  virtual std::string GetLvmUuid() = 0;
  virtual bool SetClusteredKadiskEnabled(bool enabled) = 0;
  virtual bool IsClusteredKadiskEnabled() = 0;
  // The hosts in the heartbeat region; `quick` waits one heartbeat interval
  // to keep only live hosts.
  virtual std::vector<KovraUserInfo> GetUsers(bool quick) = 0;
  // 1 when every device under the volume supports ATS.
  virtual int GetAtsSupport() = 0;
  // Readies a mounted volume for an unmount (flushes, closes open handles).
  virtual bool PrepareUnmount() = 0;
  virtual KovraVolumeUnmapProperty GetUnmapProperty() = 0;
  virtual void SetUnmapProperty(KovraVolumeUnmapProperty property) = 0;
};

}  // namespace Storage
}  // namespace HostCtl

#endif  // HOSTCTL_KOVRA_FILE_SYSTEM_H_
