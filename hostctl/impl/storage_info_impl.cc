// StorageInfoImpl's queries: every volume, volumes by label, UUID or path,
// the Kovra and NAS lists, the unresolved snapshots.
#include "hostctl/impl/handles.h"
#include "hostctl/impl/host_objects.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/scoped_cache.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::CheckFault;
using HostCtl::Sim::QueryVolumes;
using HostCtl::Sim::VolumeQuery;
using HostCtl::Sim::VolumeSetRef;

namespace {

// The first volume `query` finds, or null.
std::unique_ptr<KovraFileSystem> FirstAsKovraHandle(const VolumeQuery& query) {
  VolumeSetRef found = QueryVolumes(query);
  if (found->empty()) return nullptr;
  return HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(*found, 0);
}

std::vector<std::unique_ptr<NetworkFileSystem>> NasVolumes(VolumeQuery::Kind kind,
                                                           NfsFilter filter) {
  VolumeQuery query;
  query.kind = kind;
  VolumeSetRef found = QueryVolumes(query);
  HostCtl::Sim::HandleBlock block(found->size());
  std::vector<std::unique_ptr<NetworkFileSystem>> volumes;
  for (size_t i = 0; i < found->size(); ++i) {
    auto nfs = HostCtl::Sim::NewHandle<StrelCtl::Storage::NetworkFileSystemImpl>(*found, i);
    if (!filter || filter(*nfs)) volumes.push_back(std::move(nfs));
  }
  return volumes;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

bool IsPE(NetworkFileSystem& nfs) { return nfs.IsProtocolEndpoint(); }
bool IsNotPE(NetworkFileSystem& nfs) { return !nfs.IsProtocolEndpoint(); }
bool IsNotHidden(NetworkFileSystem& nfs) { return !nfs.IsHidden(); }

StorageInfoImpl::StorageInfoImpl() { CheckFault(Op::StorageInfoImpl); }

std::vector<std::unique_ptr<FileSystem>> StorageInfoImpl::GetFileSystems() {
  CheckFault(Op::GetFileSystems);
  VolumeQuery query;
  query.summary = true;  // a listing; the other fields are read if asked for
  VolumeSetRef found = QueryVolumes(query);
  HostCtl::Sim::HandleBlock block(found->size());
  std::vector<std::unique_ptr<FileSystem>> volumes;
  volumes.reserve(found->size());
  for (size_t i = 0; i < found->size(); ++i) {
    volumes.push_back(HostCtl::Sim::MakeVolumeHandle(*found, i));
  }
  return volumes;
}

std::unique_ptr<KovraFileSystem> StorageInfoImpl::GetFileSystemByLabel(const std::string& label) {
  CheckFault(Op::GetFileSystemByLabel, {label});
  VolumeQuery query;
  query.name = &label;
  return FirstAsKovraHandle(query);
}

std::unique_ptr<KovraFileSystem> StorageInfoImpl::GetFileSystemByUUID(const std::string& uuid) {
  CheckFault(Op::GetFileSystemByUUID, {uuid});
  VolumeQuery query;
  query.uuid = &uuid;
  return FirstAsKovraHandle(query);
}

std::unique_ptr<KovraFileSystem> StorageInfoImpl::GetFileSystemByPath(const std::string& path) {
  CheckFault(Op::GetFileSystemByPath, {path});
  // A path exists only while its volume is mounted: /kovra/volumes/ and the
  // label or UUID, or anything below it; or the volume's own mount point.
  std::string clean = WithoutTrailingSlashes(path);
  VolumeQuery query;
  query.mounted_only = true;
  if (std::optional<std::string> key = HostCtl::Sim::VolumePathKey(clean)) {
    query.name = &*key;
    query.name_or_uuid = true;
    if (!key->empty()) {
      if (auto volume = FirstAsKovraHandle(query)) return volume;
    }
    query.name = nullptr;
    query.name_or_uuid = false;
  }
  VolumeSetRef mounted = QueryVolumes(query);
  for (size_t i = 0; i < mounted->size(); ++i) {
    if (WithoutTrailingSlashes(mounted->MountPoint(i)) == clean) {
      return HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(*mounted, i);
    }
  }
  return nullptr;
}

std::unique_ptr<FileSystem> StorageInfoImpl::GetFileSystemByUuidEx(const std::string& uuid) {
  CheckFault(Op::GetFileSystemByUuidEx, {uuid});
  VolumeQuery query;
  query.uuid = &uuid;
  VolumeSetRef found = QueryVolumes(query);
  if (found->empty()) return nullptr;
  return HostCtl::Sim::MakeVolumeHandle(*found, 0);
}

std::vector<std::unique_ptr<KovraFileSystem>> StorageInfoImpl::GetKovraFileSystems(
    const std::string& filter) {
  CheckFault(Op::GetKovraFileSystems, {filter});
  VolumeQuery query;
  query.kind = VolumeQuery::kKovra;
  if (!filter.empty()) {
    query.name = &filter;
    query.name_or_uuid = true;
  }
  VolumeSetRef found = QueryVolumes(query);
  HostCtl::Sim::HandleBlock block(found->size());
  std::vector<std::unique_ptr<KovraFileSystem>> volumes;
  for (size_t i = 0; i < found->size(); ++i) {
    volumes.push_back(HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(*found, i));
  }
  return volumes;
}

std::vector<std::unique_ptr<KovraFileSystem>> StorageInfoImpl::GetKovraFileSystemsList(
    const std::string& filter) {
  CheckFault(Op::GetKovraFileSystemsList, {filter});
  VolumeQuery query;
  query.kind = VolumeQuery::kKovra;
  if (!filter.empty()) {
    query.name = &filter;
    query.name_or_uuid = true;
  }
  HostCtl::Sim::Db& db = HostCtl::Sim::Session::Get().db();
  VolumeSetRef found = QueryVolumes(query);
  HostCtl::Sim::HandleBlock block(found->size());
  std::vector<std::unique_ptr<KovraFileSystem>> volumes;
  for (size_t i = 0; i < found->size(); ++i) {
    // A volume whose storage does not answer cannot be opened: its slot
    // stays empty.
    bool opens = HostCtl::Sim::VolumeAccessible(db, found->Full(db, i));
    volumes.push_back(
        opens ? HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(*found, i)
              : nullptr);
  }
  return volumes;
}

std::unique_ptr<HostCtl::Storage::PBCache> StorageInfoImpl::GetPBCache() {
  CheckFault(Op::GetPBCache);
  return HostCtl::Sim::MakePBCache();
}

std::unique_ptr<KovraFileSystem> StorageInfoImpl::GetKovraFileSystemByUUID(
    const std::string& uuid) {
  CheckFault(Op::GetKovraFileSystemByUUID, {uuid});
  return HostCtl::Sim::FindKovraVolume(nullptr, &uuid);
}

std::unique_ptr<KovraFileSystem> StorageInfoImpl::GetKovraFileSystemByLabel(
    const std::string& label) {
  CheckFault(Op::GetKovraFileSystemByLabel, {label});
  return HostCtl::Sim::FindKovraVolume(&label, nullptr);
}

std::vector<std::unique_ptr<UnresolvedKovraVolume>> StorageInfoImpl::GetUnresolvedVolumes() {
  CheckFault(Op::GetUnresolvedVolumes);
  std::vector<std::unique_ptr<UnresolvedKovraVolume>> snapshots;
  for (auto& record : HostCtl::Sim::QuerySnapshots()) {
    snapshots.push_back(HostCtl::Sim::MakeSnapshotHandle(record));
  }
  return snapshots;
}

std::vector<std::unique_ptr<NetworkFileSystem>> StorageInfoImpl::GetV3NetworkFileSystems(
    NfsFilter filter) {
  CheckFault(Op::GetV3NetworkFileSystems);
  return NasVolumes(VolumeQuery::kNfs3, filter);
}

std::vector<std::unique_ptr<NetworkFileSystem>> StorageInfoImpl::GetV41NetworkFileSystems(
    NfsFilter filter) {
  CheckFault(Op::GetV41NetworkFileSystems);
  return NasVolumes(VolumeQuery::kNfs41, filter);
}

}  // namespace Storage
}  // namespace StrelCtl
