// The host's storage implementation classes: what commands construct or
// narrow to. Their objects are handles on the simulated host's state; a
// handle reads what its query loaded and writes through to the host.
#ifndef STRELCTL_STORAGE_H_
#define STRELCTL_STORAGE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostctl/hostctl.h"

namespace HostCtl {
namespace Sim {
enum class Op;
class VolumeSet;
struct VolumeRecord;
struct ExtentRecord;
struct SnapshotRecord;
struct SnapshotExtentRecord;
}  // namespace Sim
}  // namespace HostCtl

namespace StrelCtl {
namespace Storage {

using HostCtl::Storage::DiskLunPartition;
using HostCtl::Storage::FileSystem;
using HostCtl::Storage::KovraFileSystem;
using HostCtl::Storage::NetworkFileSystem;
using HostCtl::Storage::UnresolvedKovraExtent;
using HostCtl::Storage::UnresolvedKovraVolume;

enum NfsVersion {
  NFS_V3 = 1,
  NFS_V41 = 2,
};

// Filters for the NAS queries.
using NfsFilter = bool (*)(NetworkFileSystem& nfs);
bool IsPE(NetworkFileSystem& nfs);
bool IsNotPE(NetworkFileSystem& nfs);
bool IsNotHidden(NetworkFileSystem& nfs);

// The operations every volume has.
class FileSystemImpl : public virtual FileSystem {
 public:
  // Volume `index` of `volumes`, which the handle shares.
  FileSystemImpl(HostCtl::Sim::VolumeSet& volumes, size_t index);
  ~FileSystemImpl() override;

  void Mount(int option) override;
  int Unmount(int option) override;
  bool IsMounted() override;
  int64_t GetCapacity() override;
  int64_t GetUsedSpace() override;
  std::string GetType() override;
  std::string GetMountPoint() override;
  std::string GetVolumeName() override;
  std::string GetUuid() override;
  HostCtl::Storage::ArrakState GetArrakState() override;

 protected:
  // Throws HostCtlException when a fault armed for `op` fires on this volume
  // (known by its name and its UUID).
  void CheckVolumeFault(HostCtl::Sim::Op op) const;
  // Throws HostCtlException unless this is a Kovra volume.
  void RequireKovra() const;
  // The record with every field read (a listing reads only its summary).
  HostCtl::Sim::VolumeRecord& Full();

  // The volumes of the query this handle came from, and its place in them.
  HostCtl::Sim::VolumeSet& set_;
  const uint32_t index_;
};

// A handle on a volume found by label, UUID or path. The lookups of
// StorageInfoImpl hand out every kind of volume through it; its Kovra-only
// operations throw for a volume of another type.
class KovraFileSystemImpl : public KovraFileSystem, public FileSystemImpl {
 public:
  // Opens the volume at its path "/kovra/volumes/<label or uuid>". Throws
  // HostCtlException when nothing is there.
  explicit KovraFileSystemImpl(const std::string& path);
  KovraFileSystemImpl(HostCtl::Sim::VolumeSet& volumes, size_t index);

  // The Kovra volume, or null when there is none.
  static std::unique_ptr<KovraFileSystem> GetKovraFileSystemByLabel(const std::string& label);
  static std::unique_ptr<KovraFileSystem> GetKovraFileSystemByUUID(const std::string& uuid);

  bool IsAccessible();
  // Upgrades a mounted, accessible format-3 volume to format 5.
  void ConvertToVersion5();
  // Releases the volume's free blocks to the storage, `unit` blocks per
  // iteration. `progress` is not used by this host and may be null.
  void UnmapVolume(unsigned int unit, void* progress);

  uint32_t GetLockMode() override;
  void SetLockMode(uint32_t flags) override;
  uint32_t GetMajorVersion() override;
  std::vector<std::unique_ptr<DiskLunPartition>> GetExtents() override;
  std::string GetLvmUuid() override;
  bool SetClusteredKadiskEnabled(bool enabled) override;
  bool IsClusteredKadiskEnabled() override;
  std::vector<HostCtl::Storage::KovraUserInfo> GetUsers(bool quick) override;
  int GetAtsSupport() override;
  bool PrepareUnmount() override;
  HostCtl::Storage::KovraVolumeUnmapProperty GetUnmapProperty() override;
  void SetUnmapProperty(HostCtl::Storage::KovraVolumeUnmapProperty property) override;
};

class NetworkFileSystemImpl : public NetworkFileSystem, public FileSystemImpl {
 public:
  NetworkFileSystemImpl(HostCtl::Sim::VolumeSet& volumes, size_t index);

  std::string GetHost() override;
  std::vector<std::string> GetHosts() override;
  std::string GetShare() override;
  bool IsMountReadOnly() override;
  bool IsReadOnly() override;
  void SetReadOnly(bool read_only) override;
  bool IsProtocolEndpoint() override;
  void SetProtocolEndpoint(bool is_pe) override;
  std::string GetStrelnic() override;
  bool IsAccessible() override;
  bool IsHidden() override;
  uint32_t GetMaxReadTransferSize() override;
  uint32_t GetMaxWriteTransferSize() override;
  uint32_t GetMaxQueueDepth() override;
  void SetMaxQueueDepth(uint32_t depth, bool persist) override;
  SecurityType GetSecurityType() override;
  std::string GetStrelnicParameter() override;
  void SetStrelnic(const std::string& strelnic) override;
};

class DiskLunPartitionImpl : public virtual DiskLunPartition {
 public:
  explicit DiskLunPartitionImpl(std::shared_ptr<HostCtl::Sim::ExtentRecord> record);
  std::string GetDeviceName() override;
  unsigned int GetPartitionNumber() override;

 private:
  std::shared_ptr<HostCtl::Sim::ExtentRecord> record_;
};

class UnresolvedKovraExtentImpl : public UnresolvedKovraExtent {
 public:
  explicit UnresolvedKovraExtentImpl(std::shared_ptr<HostCtl::Sim::SnapshotExtentRecord> record);
  std::string GetDeviceName() override;
  unsigned int GetPartitionNumber() override;
  int64_t GetStart() override;
  int64_t GetEnd() override;

 private:
  std::shared_ptr<HostCtl::Sim::SnapshotExtentRecord> record_;
};

class UnresolvedKovraVolumeImpl : public UnresolvedKovraVolume {
 public:
  explicit UnresolvedKovraVolumeImpl(std::shared_ptr<HostCtl::Sim::SnapshotRecord> record);
  std::string GetLvmUuid() override;
  std::string GetUuid() override;
  std::string GetVolumeName() override;
  std::vector<std::unique_ptr<UnresolvedKovraExtent>> GetExtents() override;
  bool CanResolve(bool resignature, bool mount, HostCtl::Storage::ResolveReason* reason) override;
  std::unique_ptr<HostCtl::Lib::HostCtlObject> Resignature() override;
  std::unique_ptr<HostCtl::Lib::HostCtlObject> Mount(bool force, bool persistent) override;

 private:
  std::shared_ptr<HostCtl::Sim::SnapshotRecord> record_;
};

// The storage of the host this process manages. Constructing one opens the
// host's store on first use (throwing HostCtl::Sim::StoreError when it cannot
// be used); it holds nothing else.
class StorageInfoImpl : public HostCtl::Storage::StorageInfo {
 public:
  StorageInfoImpl();

  // Every volume of every type, in the host's order.
  std::vector<std::unique_ptr<FileSystem>> GetFileSystems();
  // Lookups among volumes of every type; null when there is none.
  std::unique_ptr<KovraFileSystem> GetFileSystemByLabel(const std::string& label);
  std::unique_ptr<KovraFileSystem> GetFileSystemByUUID(const std::string& uuid);
  std::unique_ptr<KovraFileSystem> GetFileSystemByPath(const std::string& path);
  // Like GetFileSystemByUUID, but hands out the volume's own kind (a
  // KovraFileSystem, a NetworkFileSystem or a plain FileSystem).
  std::unique_ptr<FileSystem> GetFileSystemByUuidEx(const std::string& uuid);

  std::vector<std::unique_ptr<KovraFileSystem>> GetKovraFileSystems(
      const std::string& filter) override;
  // Like GetKovraFileSystems, but a slot is empty where a volume could not
  // be opened.
  std::vector<std::unique_ptr<KovraFileSystem>> GetKovraFileSystemsList(const std::string& filter);
  std::unique_ptr<HostCtl::Storage::PBCache> GetPBCache() override;
  std::unique_ptr<KovraFileSystem> GetKovraFileSystemByUUID(const std::string& uuid) override;
  std::unique_ptr<KovraFileSystem> GetKovraFileSystemByLabel(const std::string& label) override;

  std::vector<std::unique_ptr<UnresolvedKovraVolume>> GetUnresolvedVolumes();

  std::vector<std::unique_ptr<NetworkFileSystem>> GetV3NetworkFileSystems(NfsFilter filter);
  std::vector<std::unique_ptr<NetworkFileSystem>> GetV41NetworkFileSystems(NfsFilter filter);
  // Adds an NFS v3 volume, not mounted yet. Throws when the name is taken,
  // or the strelnic is not one of the host's.
  std::unique_ptr<NetworkFileSystem> AddNetworkFileSystem(
      const std::string& host, const std::string& share, const std::string& volume_name,
      bool strelnic_given, const std::string& strelnic, uint32_t queue_depth);
  // Adds an NFS v4.1 volume served by `hosts`, in that order, not mounted yet.
  std::unique_ptr<NetworkFileSystem> AddV41NetworkFileSystem(
      const std::vector<std::string>& hosts, const std::string& share,
      const std::string& volume_name, NetworkFileSystem::SecurityType security);
  // Removes the NAS volume of that name, of either version.
  void RemoveNetworkFileSystem(const std::string& volume_name);
  // Removes the NAS volume of that name and version; refuses another version.
  static void RemoveNetworkFileSystem(const std::string& volume_name, NfsVersion version);
  void EnterNetworkFileSystemPreUnmount(const std::string& volume_name);
  void ExitNetworkFileSystemPreUnmount(const std::string& volume_name);

  // Mounts the unmounted volume that `uuid` or else `label` names, when the
  // host can do so on its own. True when it mounted it; false otherwise
  // (nothing named, not found, already mounted).
  bool TryMount(int option, const std::string& uuid, const std::string& label);
  // Makes the Kovra volumes on attached devices that the host has not
  // discovered yet known and mounted.
  void RescanKovra();
  // Mounts every known volume that was not explicitly unmounted.
  void AutoFullMountVolumes();
  // Tells storage I/O resource management that volumes are about to go.
  void SignalIORM(bool unmounting);
  // Restores the multipath configuration saved for boot.
  void RestorePsaConfig();
};

}  // namespace Storage
}  // namespace StrelCtl

#endif  // STRELCTL_STORAGE_H_
