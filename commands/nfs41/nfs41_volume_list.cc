#include "commands/nfs41/nfs41_volume_list.h"

#include <string>
#include <vector>

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Storage::NetworkFileSystem;
using MetaObj::MetaBool;
using MetaObj::MetaString;

namespace {

std::string JoinHosts(const std::vector<std::string>& hosts) {
  std::string joined;
  for (size_t i = 0; i < hosts.size(); ++i) {
    if (i > 0) joined += ",";
    joined += hosts[i];
  }
  return joined;
}

}  // namespace

std::shared_ptr<NFS41VolumeList> NFS41VolumeList::New() {
  return NewBoundCommand<NFS41VolumeList>();
}

NFS41VolumeList::NFS41VolumeList() {
  SetDescription("List the NFS v4.1 volumes currently known to the Orvane host.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter(
      "fields:NasMount",
      "Volume Name,Host(s),Share,Accessible,Mounted,Read-Only,Security,isPE,Hardware Acceleration");
}

NFS41VolumeList::~NFS41VolumeList() = default;

const char* NFS41VolumeList::TranslateSecurity(NetworkFileSystem::SecurityType type) {
  switch (type) {
    case NetworkFileSystem::SEC_NONE:
      return NetworkFileSystem::NFS_AUTH_NONE_STR;
    case NetworkFileSystem::SEC_SYS:
      return NetworkFileSystem::NFS_AUTH_SYS_STR;
    case NetworkFileSystem::SEC_KRB5:
      return NetworkFileSystem::NFS_AUTH_KRB5_STR;
    case NetworkFileSystem::SEC_KRB5I:
      return NetworkFileSystem::NFS_AUTH_KRB5I_STR;
    case NetworkFileSystem::SEC_KRB5P:
      return NetworkFileSystem::NFS_AUTH_KRB5P_STR;
  }
  return NetworkFileSystem::NFS_AUTH_UNKNOWN_STR;
}

const char* NFS41VolumeList::TranslateArrak(HostCtl::Storage::ArrakState state) {
  return ArrakStateText(state);
}

std::shared_ptr<CallSpec::InputSpec> NFS41VolumeList::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"pe-only", "p", CallSpec::PARAM_FLAG, false,
                            "Filter the output to only show Ferrox PE Volumes"},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> NFS41VolumeList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> NFS41VolumeList::GetOutputStructure() {
  return EmptyStruct("NasMount", {{"Volume Name", MetaObj::META_STRING},
                                  {"Host(s)", MetaObj::META_STRING},
                                  {"Share", MetaObj::META_STRING},
                                  {"Accessible", MetaObj::META_BOOL},
                                  {"Mounted", MetaObj::META_BOOL},
                                  {"Read-Only", MetaObj::META_BOOL},
                                  {"Security", MetaObj::META_STRING},
                                  {"isPE", MetaObj::META_BOOL},
                                  {"Hardware Acceleration", MetaObj::META_STRING}});
}

void NFS41VolumeList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool pe_only = input->IsFlagSet("pe-only");
  ListNasMounts(
      &StrelCtl::Storage::StorageInfoImpl::GetV41NetworkFileSystems,
      pe_only ? StrelCtl::Storage::IsPE : StrelCtl::Storage::IsNotHidden,
      [this] { return GetOutputStructure(); },
      [](MetaObj::MetaStruct& row, NetworkFileSystem& mount) {
        row.SetField("Volume Name", MetaString::New(mount.GetVolumeName()));
        row.SetField("Host(s)", MetaString::New(JoinHosts(mount.GetHosts())));
        row.SetField("Share", MetaString::New(mount.GetShare()));
        row.SetField("Accessible", MetaBool::New(mount.IsAccessible()));
        row.SetField("Mounted", MetaBool::New(mount.IsMounted()));
        // As actually mounted: a read-write volume on a read-only export
        // shows read-only.
        row.SetField("Read-Only", MetaBool::New(mount.IsMountReadOnly()));
        row.SetField("Security", MetaString::New(TranslateSecurity(mount.GetSecurityType())));
        row.SetField("isPE", MetaBool::New(mount.IsProtocolEndpoint()));
        row.SetField("Hardware Acceleration",
                     MetaString::New(TranslateArrak(mount.GetArrakState())));
      },
      output);
}

}  // namespace FileSystem
}  // namespace TarvexCli
