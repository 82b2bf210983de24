// What a NAS volume (NFS v3 or v4.1) reports and lets change.
#include "hostctl/impl/handles.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/sqlite_db.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::Refuse;
using HostCtl::Sim::Session;

NetworkFileSystemImpl::NetworkFileSystemImpl(HostCtl::Sim::VolumeSet& volumes, size_t index)
    : FileSystemImpl(volumes, index) {}

std::string NetworkFileSystemImpl::GetHost() {
  CheckVolumeFault(Op::GetHost);
  const std::vector<std::string>& hosts = Full().hosts;
  return hosts.empty() ? std::string() : hosts.front();
}

std::vector<std::string> NetworkFileSystemImpl::GetHosts() {
  CheckVolumeFault(Op::GetHosts);
  return Full().hosts;
}

std::string NetworkFileSystemImpl::GetShare() {
  CheckVolumeFault(Op::GetShare);
  return Full().share;
}

bool NetworkFileSystemImpl::IsMountReadOnly() {
  CheckVolumeFault(Op::IsMountReadOnly);
  return Full().read_only || HostCtl::Sim::ExportReadOnly(Session::Get().db(), Full());
}

bool NetworkFileSystemImpl::IsReadOnly() {
  CheckVolumeFault(Op::IsReadOnly);
  return Full().read_only;
}

void NetworkFileSystemImpl::SetReadOnly(bool read_only) {
  CheckVolumeFault(Op::SetReadOnly);
  ChangeVolume(Full(), [read_only](Db& db, VolumeRecord& v) {
    v.read_only = read_only;
    HostCtl::Sim::SaveVolume(db, v);
  });
}

bool NetworkFileSystemImpl::IsProtocolEndpoint() {
  CheckVolumeFault(Op::IsProtocolEndpoint);
  return Full().pe;
}

void NetworkFileSystemImpl::SetProtocolEndpoint(bool is_pe) {
  CheckVolumeFault(Op::SetProtocolEndpoint);
  ChangeVolume(Full(), [is_pe](Db& db, VolumeRecord& v) {
    v.pe = is_pe;
    HostCtl::Sim::SaveVolume(db, v);
  });
}

std::string NetworkFileSystemImpl::GetStrelnic() {
  CheckVolumeFault(Op::GetStrelnic);
  return Full().strelnic;
}

bool NetworkFileSystemImpl::IsAccessible() {
  CheckVolumeFault(Op::IsAccessible);
  return HostCtl::Sim::VolumeAccessible(Session::Get().db(), Full());
}

bool NetworkFileSystemImpl::IsHidden() {
  CheckVolumeFault(Op::IsHidden);
  return Full().hidden;
}

uint32_t NetworkFileSystemImpl::GetMaxReadTransferSize() {
  CheckVolumeFault(Op::GetMaxReadTransferSize);
  return Full().max_read;
}

uint32_t NetworkFileSystemImpl::GetMaxWriteTransferSize() {
  CheckVolumeFault(Op::GetMaxWriteTransferSize);
  return Full().max_write;
}

uint32_t NetworkFileSystemImpl::GetMaxQueueDepth() {
  CheckVolumeFault(Op::GetMaxQueueDepth);
  return Full().queue_depth;
}

void NetworkFileSystemImpl::SetMaxQueueDepth(uint32_t depth, bool persist) {
  CheckVolumeFault(Op::SetMaxQueueDepth);
  ChangeVolume(Full(), [depth, persist](Db& db, VolumeRecord& v) {
    if (depth == 0) {
      Refuse("set the queue depth of", "volume", v.name,
             "the queue depth must be from 1 to 4294967295");
    }
    v.queue_depth = depth;
    // A depth that is not persisted is undone by the next restart.
    if (persist) v.boot_queue_depth = depth;
    HostCtl::Sim::SaveVolume(db, v);
  });
}

NetworkFileSystem::SecurityType NetworkFileSystemImpl::GetSecurityType() {
  CheckVolumeFault(Op::GetSecurityType);
  return static_cast<SecurityType>(Full().security);
}

std::string NetworkFileSystemImpl::GetStrelnicParameter() {
  CheckVolumeFault(Op::GetStrelnicParameter);
  return Full().strelnic_param;
}

void NetworkFileSystemImpl::SetStrelnic(const std::string& strelnic) {
  CheckVolumeFault(Op::SetStrelnic);
  ChangeVolume(Full(), [&strelnic](Db& db, VolumeRecord& v) {
    if (!strelnic.empty() && !HostCtl::Sim::HostHasStrelnic(db, strelnic)) {
      Refuse("set the strelnic of", "volume", v.name,
             "strelnic '" + strelnic + "' does not exist on this host");
    }
    // Used from the next mount on; GetStrelnic shows the one in use now.
    v.strelnic_param = strelnic;
    HostCtl::Sim::SaveVolume(db, v);
  });
}

}  // namespace Storage
}  // namespace StrelCtl
