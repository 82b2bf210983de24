// Injected faults: any host-control operation on any object can be made to
// throw HostCtlException with a given message. Each operation calls
// CheckFault first; the faults are read from the store once per process, and
// only a call that matches one touches the store (to count it).
#ifndef HOSTCTL_RULES_FAULTS_H_
#define HOSTCTL_RULES_FAULTS_H_

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// Every operation a fault can name, by its C++ name. Names shared by two
// classes (GetHost of the host factory and of an NFS volume, Mount of a
// volume and of a snapshot) are one operation; the object tells them apart.
// clang-format off
#define HOSTCTL_OPERATIONS(X) \
  X(AddNetworkFileSystem) \
  X(AddV41NetworkFileSystem) \
  X(AutoFullMountVolumes) \
  X(CanResolve) \
  X(ConvertToVersion5) \
  X(EnterNetworkFileSystemPreUnmount) \
  X(ExitNetworkFileSystemPreUnmount) \
  X(GetAdvancedOptions) \
  X(GetArrakState) \
  X(GetAtsSupport) \
  X(GetCapacity) \
  X(GetCurrentSize) \
  X(GetDeviceName) \
  X(GetEnd) \
  X(GetExtents) \
  X(GetFileSystemByLabel) \
  X(GetFileSystemByPath) \
  X(GetFileSystemByUUID) \
  X(GetFileSystemByUuidEx) \
  X(GetFileSystems) \
  X(GetHardwareInfo) \
  X(GetHeaps) \
  X(GetHost) \
  X(GetHosts) \
  X(GetKovraFileSystemByLabel) \
  X(GetKovraFileSystemByUUID) \
  X(GetKovraFileSystems) \
  X(GetKovraFileSystemsList) \
  X(GetLockMode) \
  X(GetLvmUuid) \
  X(GetMajorVersion) \
  X(GetMaxQueueDepth) \
  X(GetMaxReadTransferSize) \
  X(GetMaxSize) \
  X(GetMaxWriteTransferSize) \
  X(GetMemoryInfo) \
  X(GetMountPoint) \
  X(GetName) \
  X(GetOption) \
  X(GetOptionGroup) \
  X(GetPBCache) \
  X(GetPartitionNumber) \
  X(GetSecurityType) \
  X(GetShare) \
  X(GetStart) \
  X(GetStats) \
  X(GetStorageInfo) \
  X(GetStrelnic) \
  X(GetStrelnicParameter) \
  X(GetType) \
  X(GetUnmapProperty) \
  X(GetUnresolvedVolumes) \
  X(GetUsedSpace) \
  X(GetUsers) \
  X(GetUuid) \
  X(GetV3NetworkFileSystems) \
  X(GetV41NetworkFileSystems) \
  X(GetValue) \
  X(GetVolumeName) \
  X(IsAccessible) \
  X(IsClusteredKadiskEnabled) \
  X(IsHidden) \
  X(IsMountReadOnly) \
  X(IsMounted) \
  X(IsProtocolEndpoint) \
  X(IsReadOnly) \
  X(KovraFileSystemImpl) \
  X(Mount) \
  X(PrepareUnmount) \
  X(RemoveNetworkFileSystem) \
  X(RescanKovra) \
  X(ResetStats) \
  X(Resignature) \
  X(RestorePsaConfig) \
  X(SetClusteredKadiskEnabled) \
  X(SetLockMode) \
  X(SetMaxQueueDepth) \
  X(SetProtocolEndpoint) \
  X(SetReadOnly) \
  X(SetStrelnic) \
  X(SetUnmapProperty) \
  X(SignalIORM) \
  X(StorageInfoImpl) \
  X(StorageInfoScopedCache) \
  X(TryMount) \
  X(UnmapVolume) \
  X(Unmount)
// clang-format on

enum class Op {
#define HOSTCTL_OP_ENUM(name) name,
  HOSTCTL_OPERATIONS(HOSTCTL_OP_ENUM)
#undef HOSTCTL_OP_ENUM
};

const char* OperationName(Op op);
// Every operation name, sorted.
const std::vector<std::string>& OperationNames();
bool IsOperationName(const std::string& name);

// Throws HostCtlException when an armed fault fires for `op` on an object
// known by any of `objects` (its name, label, UUID, device or option name).
// Throws StoreError when the store cannot be used.
void CheckFault(Op op, std::initializer_list<std::string_view> objects = {});
// False while no fault is armed: a caller need not look up the names of its
// object for CheckFault. Throws StoreError like CheckFault.
bool AnyFaultArmed();

// The faults of a store; loaded by the session once per process.
class FaultTable {
 public:
  void Load(Db& db);
  void Clear() { faults_.clear(); }
  bool empty() const { return faults_.empty(); }
  // Counts the call on every matching fault (in one transaction). True when
  // one fires; `message` is then the first firing fault's message.
  bool Fire(Db& db, Op op, std::initializer_list<std::string_view> objects, std::string* message);

 private:
  std::vector<FaultRecord> faults_;
};

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_FAULTS_H_
