// Finding volumes by path, label and UUID, and what a Kovra volume reports.
#include "hostctl/impl/handles.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/scoped_cache.h"
#include "hostctl/store/sqlite_db.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::CheckFault;
using HostCtl::Sim::Session;
using HostCtl::Sim::VolumeQuery;
using HostCtl::Sim::VolumeSetRef;

namespace {

// The volumes found at `path`, the first being the one it opens.
VolumeSetRef OpenByPath(const std::string& path) {
  std::string key = HostCtl::Sim::VolumePathKey(path).value_or("");
  CheckFault(Op::KovraFileSystemImpl, {path, key});
  VolumeQuery query;
  query.name = &key;
  query.name_or_uuid = true;
  VolumeSetRef found = key.empty() ? VolumeSetRef() : HostCtl::Sim::QueryVolumes(query);
  if (!found.get() || found->empty()) {
    HostCtl::Sim::Refuse("open", "volume", path, "no volume has that label or UUID");
  }
  return found;
}

}  // namespace

KovraFileSystemImpl::KovraFileSystemImpl(const std::string& path)
    : FileSystemImpl(*OpenByPath(path), 0) {}

KovraFileSystemImpl::KovraFileSystemImpl(HostCtl::Sim::VolumeSet& volumes, size_t index)
    : FileSystemImpl(volumes, index) {}

std::unique_ptr<KovraFileSystem> KovraFileSystemImpl::GetKovraFileSystemByLabel(
    const std::string& label) {
  CheckFault(Op::GetKovraFileSystemByLabel, {label});
  return HostCtl::Sim::FindKovraVolume(&label, nullptr);
}

std::unique_ptr<KovraFileSystem> KovraFileSystemImpl::GetKovraFileSystemByUUID(
    const std::string& uuid) {
  CheckFault(Op::GetKovraFileSystemByUUID, {uuid});
  return HostCtl::Sim::FindKovraVolume(nullptr, &uuid);
}

bool KovraFileSystemImpl::IsAccessible() {
  CheckVolumeFault(Op::IsAccessible);
  return HostCtl::Sim::VolumeAccessible(Session::Get().db(), Full());
}

uint32_t KovraFileSystemImpl::GetLockMode() {
  CheckVolumeFault(Op::GetLockMode);
  RequireKovra();
  return Full().lock_mode;
}

uint32_t KovraFileSystemImpl::GetMajorVersion() {
  CheckVolumeFault(Op::GetMajorVersion);
  RequireKovra();
  return set_.Version(index_);
}

std::vector<std::unique_ptr<DiskLunPartition>> KovraFileSystemImpl::GetExtents() {
  CheckVolumeFault(Op::GetExtents);
  RequireKovra();
  std::vector<std::unique_ptr<DiskLunPartition>> extents;
  for (const auto& extent : set_.Extents(Session::Get().db(), index_)) {
    extents.push_back(std::make_unique<DiskLunPartitionImpl>(extent));
  }
  return extents;
}

std::string KovraFileSystemImpl::GetLvmUuid() {
  CheckVolumeFault(Op::GetLvmUuid);
  RequireKovra();
  return Full().lvm_uuid;
}

bool KovraFileSystemImpl::IsClusteredKadiskEnabled() {
  CheckVolumeFault(Op::IsClusteredKadiskEnabled);
  RequireKovra();
  return Full().clustered_kadisk;
}

std::vector<HostCtl::Storage::KovraUserInfo> KovraFileSystemImpl::GetUsers(bool quick) {
  CheckVolumeFault(Op::GetUsers);
  RequireKovra();
  // A quick liveness check would wait one heartbeat interval; the fixture
  // already says which hosts are alive.
  HostCtl::Sim::Stmt stmt = Session::Get().db().Prepare(
      "SELECT uuid, mac, driver_major, driver_minor, offset, lock_mode, alive FROM heartbeats "
      "WHERE volume_id = ? ORDER BY pos");
  stmt.Bind(1, set_.Id(index_));
  std::vector<HostCtl::Storage::KovraUserInfo> users;
  while (stmt.Step()) {
    if (quick && stmt.Int(6) == 0) continue;
    HostCtl::Storage::KovraUserInfo user;
    user.heartbeatUuid = stmt.Text(0);
    user.macAddress = HostCtl::Network::MacAddress(stmt.Text(1));
    user.driverMajorVersion = static_cast<uint32_t>(stmt.Int(2));
    user.driverMinorVersion = static_cast<uint32_t>(stmt.Int(3));
    user.heartbeatOffset = stmt.Int(4);
    user.lockModeInUse = static_cast<uint8_t>(stmt.Int(5));
    users.push_back(user);
  }
  return users;
}

int KovraFileSystemImpl::GetAtsSupport() {
  CheckVolumeFault(Op::GetAtsSupport);
  RequireKovra();
  for (const auto& extent : set_.Extents(Session::Get().db(), index_)) {
    if (!extent->ats) return 0;
  }
  return 1;
}

HostCtl::Storage::KovraVolumeUnmapProperty KovraFileSystemImpl::GetUnmapProperty() {
  CheckVolumeFault(Op::GetUnmapProperty);
  RequireKovra();
  const HostCtl::Sim::UnmapRecord& u = Full().unmap;
  HostCtl::Storage::KovraVolumeUnmapProperty property;
  property.granularity = u.granularity;
  property.priority = u.priority;
  property.bandwidth = u.bandwidth;
  property.method = u.method;
  property.reserved = u.reserved;
  return property;
}

}  // namespace Storage
}  // namespace StrelCtl

namespace HostCtl {
namespace Sim {

std::unique_ptr<Storage::KovraFileSystem> FindKovraVolume(const std::string* label,
                                                          const std::string* uuid) {
  VolumeQuery query;
  query.kind = VolumeQuery::kKovra;
  query.name = label;
  query.uuid = uuid;
  VolumeSetRef found = QueryVolumes(query);
  if (found->empty()) return nullptr;
  return HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(*found, 0);
}

}  // namespace Sim
}  // namespace HostCtl
