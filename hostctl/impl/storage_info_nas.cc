// Adding and removing NAS volumes, and their preunmount state.
#include <optional>

#include "hostctl/impl/handles.h"
#include "hostctl/rules/text_util.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/sqlite_db.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::CheckFault;
using HostCtl::Sim::Refuse;

namespace {

const char* KindName(std::optional<NfsVersion> version) {
  if (!version) return "NAS volume";
  return *version == NFS_V3 ? "NFS volume" : "NFS v4.1 volume";
}

// Checks what every new NAS volume needs and makes its record.
VolumeRecord NewNasVolume(Db& db, const char* type, const std::vector<std::string>& hosts,
                          const std::string& share, const std::string& name) {
  const char* kind = std::string(type) == "NFS" ? "NFS volume" : "NFS v4.1 volume";
  if (name.empty()) Refuse("add", kind, name, "the volume name is empty");
  if (!HostCtl::Sim::IsValidUtf8(name)) Refuse("add", kind, name, "the volume name is not UTF-8");
  if (hosts.empty()) Refuse("add", kind, name, "no NFS server is given");
  for (const std::string& host : hosts) {
    if (host.empty()) Refuse("add", kind, name, "an NFS server address is empty");
    if (!HostCtl::Sim::IsValidUtf8(host))
      Refuse("add", kind, name, "a server address is not UTF-8");
  }
  if (share.empty()) Refuse("add", kind, name, "the share is empty");
  if (!HostCtl::Sim::IsValidUtf8(share)) Refuse("add", kind, name, "the share is not UTF-8");
  if (HostCtl::Sim::VolumeNameTaken(db, name)) {
    Refuse("add", kind, name, "the name is already used by another volume");
  }
  VolumeRecord v;
  v.type = type;
  v.name = name;
  do {
    v.uuid = HostCtl::Sim::NewNasUuid();
  } while (HostCtl::Sim::VolumeUuidTaken(db, v.uuid));
  v.mount_point = HostCtl::Sim::VolumePath(v.uuid);
  v.mounted = false;
  v.persistent = false;
  v.hosts = hosts;
  v.share = share;
  // The share's size is what its (first known) server offers.
  v.capacity = HostCtl::Sim::NfsServerRecord().capacity;
  for (const std::string& host : hosts) {
    if (const HostCtl::Sim::NfsServerRecord* server = HostCtl::Sim::VolumeServer(db, v, host)) {
      v.capacity = server->capacity;
      v.used = server->used;
      break;
    }
  }
  v.batch = nullptr;
  return v;
}

void RemoveNas(const std::string& name, std::optional<NfsVersion> version) {
  const char* kind = KindName(version);
  HostCtl::Sim::WriteTransaction([&](Db& db) {
    HostCtl::Sim::VolumeQuery query;
    query.name = &name;
    query.include_undiscovered = true;
    auto found = HostCtl::Sim::LoadVolumes(db, query);
    if (found.empty()) Refuse("remove", kind, name, "no volume has that name");
    const VolumeRecord& v = found.front();
    if (!v.IsNas()) Refuse("remove", kind, name, "it is a " + v.type + " volume, not a NAS volume");
    bool v3 = v.type == "NFS";
    if (version && (*version == NFS_V3) != v3) {
      Refuse("remove", kind, name, v3 ? "it is an NFS v3 volume" : "it is an NFS v4.1 volume");
    }
    if (v.mounted && v.busy) Refuse("remove", kind, name, "the volume is busy");
    db.Prepare("DELETE FROM volumes WHERE id = ?").Bind(1, v.id).Run();
  });
}

// Moves the NFS v3 volume `name` into (`enter`) or out of the preunmount state.
void ChangePreunmount(const std::string& name, bool enter) {
  const std::string action =
      enter ? "enter the preunmount state of" : "exit the preunmount state of";
  HostCtl::Sim::WriteTransaction([&](Db& db) {
    HostCtl::Sim::VolumeQuery query;
    query.name = &name;
    auto found = HostCtl::Sim::LoadVolumes(db, query);
    if (found.empty()) Refuse(action, "NAS volume", name, "no volume has that name");
    VolumeRecord& v = found.front();
    if (v.type != "NFS") Refuse(action, "NAS volume", name, "it is not an NFS v3 volume");
    if (enter && !v.mounted) Refuse(action, "NAS volume", name, "the volume is not mounted");
    if (enter && v.preunmount) {
      Refuse(action, "NAS volume", name, "the volume is already in the preunmount state");
    }
    if (!enter && !v.preunmount) {
      Refuse(action, "NAS volume", name, "the volume is not in the preunmount state");
    }
    v.preunmount = enter;
    HostCtl::Sim::SaveVolume(db, v);
  });
}

}  // namespace

std::unique_ptr<NetworkFileSystem> StorageInfoImpl::AddNetworkFileSystem(
    const std::string& host, const std::string& share, const std::string& volume_name,
    bool strelnic_given, const std::string& strelnic, uint32_t queue_depth) {
  CheckFault(Op::AddNetworkFileSystem, {volume_name});
  if (host.find(',') != std::string::npos) {
    Refuse("add", "NFS volume", volume_name, "an NFS v3 volume has one server, not '" + host + "'");
  }
  HostCtl::Sim::Db& db = HostCtl::Sim::Session::Get().db();
  HostCtl::Sim::Transaction tx(db);
  VolumeRecord v = NewNasVolume(db, "NFS", {host}, share, volume_name);
  if (strelnic_given) {
    if (!HostCtl::Sim::HostHasStrelnic(db, strelnic)) {
      Refuse("add", "NFS volume", volume_name,
             "strelnic '" + strelnic + "' does not exist on this host");
    }
    v.strelnic = v.strelnic_param = strelnic;
  }
  if (queue_depth > 0) v.queue_depth = v.boot_queue_depth = queue_depth;
  HostCtl::Sim::InsertVolume(db, v);
  tx.Commit();
  HostCtl::Sim::Session::Get().Wrote();
  return HostCtl::Sim::NewHandle<StrelCtl::Storage::NetworkFileSystemImpl>(
      *HostCtl::Sim::VolumeSet::Of(std::move(v)), 0);
}

std::unique_ptr<NetworkFileSystem> StorageInfoImpl::AddV41NetworkFileSystem(
    const std::vector<std::string>& hosts, const std::string& share, const std::string& volume_name,
    NetworkFileSystem::SecurityType security) {
  CheckFault(Op::AddV41NetworkFileSystem, {volume_name});
  if (security < NetworkFileSystem::SEC_NONE || security > NetworkFileSystem::SEC_KRB5P) {
    Refuse("add", "NFS v4.1 volume", volume_name,
           "unknown security type " + std::to_string(static_cast<int>(security)));
  }
  // Each entry may itself list several servers, separated by commas.
  std::vector<std::string> servers;
  for (const std::string& entry : hosts) {
    std::vector<std::string> parts = HostCtl::Sim::SplitHosts(entry);
    if (parts.empty() || entry.back() == ',') parts.push_back("");
    servers.insert(servers.end(), parts.begin(), parts.end());
  }
  HostCtl::Sim::Db& db = HostCtl::Sim::Session::Get().db();
  HostCtl::Sim::Transaction tx(db);
  VolumeRecord v = NewNasVolume(db, "NFS41", servers, share, volume_name);
  v.security = static_cast<uint32_t>(security);
  HostCtl::Sim::InsertVolume(db, v);
  tx.Commit();
  HostCtl::Sim::Session::Get().Wrote();
  return HostCtl::Sim::NewHandle<StrelCtl::Storage::NetworkFileSystemImpl>(
      *HostCtl::Sim::VolumeSet::Of(std::move(v)), 0);
}

void StorageInfoImpl::RemoveNetworkFileSystem(const std::string& volume_name) {
  CheckFault(Op::RemoveNetworkFileSystem, {volume_name});
  RemoveNas(volume_name, std::nullopt);
}

void StorageInfoImpl::RemoveNetworkFileSystem(const std::string& volume_name, NfsVersion version) {
  CheckFault(Op::RemoveNetworkFileSystem, {volume_name});
  RemoveNas(volume_name, version);
}

void StorageInfoImpl::EnterNetworkFileSystemPreUnmount(const std::string& volume_name) {
  CheckFault(Op::EnterNetworkFileSystemPreUnmount, {volume_name});
  ChangePreunmount(volume_name, true);
}

void StorageInfoImpl::ExitNetworkFileSystemPreUnmount(const std::string& volume_name) {
  CheckFault(Op::ExitNetworkFileSystemPreUnmount, {volume_name});
  ChangePreunmount(volume_name, false);
}

}  // namespace Storage
}  // namespace StrelCtl
