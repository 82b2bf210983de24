#include "commands/nfs41/nfs41_volume_add.h"

#include <string>
#include <vector>

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Storage::NetworkFileSystem;

namespace {

// The flavour named by "sec"; "sys" when it is absent (read as "").
NetworkFileSystem::SecurityType SecurityOf(const std::string& sec) {
  if (sec == NetworkFileSystem::NFS_AUTH_SYS_STR) return NetworkFileSystem::SEC_SYS;
  if (sec == NetworkFileSystem::NFS_AUTH_KRB5_STR) return NetworkFileSystem::SEC_KRB5;
  if (sec == NetworkFileSystem::NFS_AUTH_KRB5I_STR) return NetworkFileSystem::SEC_KRB5I;
  return NetworkFileSystem::SEC_SYS;
}

}  // namespace

std::shared_ptr<NFS41VolumeAdd> NFS41VolumeAdd::New() { return NewBoundCommand<NFS41VolumeAdd>(); }

NFS41VolumeAdd::NFS41VolumeAdd() {
  SetDescription(
      "Add a new NFS v4.1 volume to the Orvane Host and mount it with the given volume name.");
}

NFS41VolumeAdd::~NFS41VolumeAdd() = default;

std::shared_ptr<CallSpec::InputSpec> NFS41VolumeAdd::GetInputSpecInternal() {
  return AddParameters(
      CallSpec::InputSpec::New(),
      {
          {"hosts", "H", CallSpec::PARAM_STRING_LIST, true,
           "The hostname(s) or IP address(es) (comma-separated) of the server for the NFS v4.1 "
           "volume to add and mount on the system."},
          {"ispe", "p", CallSpec::PARAM_FLAG, false,
           "If set, this flag will set the mount point to be PE."},
          {"share", "s", CallSpec::PARAM_STRING, true,
           "The share name on the remote system to use for this NFS v4.1 mount point."},
          {"volume-name", "v", CallSpec::PARAM_STRING, true,
           "The volume name to use for the NFS v4.1 mount.  This must be a unique volume name "
           "and cannot conflict with existing NAS, NFS v4.1, Kovra, or other volume names."},
          {"readonly", "r", CallSpec::PARAM_FLAG, false,
           "If set, this flag will make the mount point be read-only."},
          {"sec", "a", CallSpec::PARAM_STRING, false,
           "Security flavors. Acceptable values are: %ENUM%.",
           StringEnum({
               {NetworkFileSystem::NFS_AUTH_SYS_STR, "Authentication based on traditional UNIX ID"},
               {NetworkFileSystem::NFS_AUTH_KRB5_STR,
                "Kerberos authentication with RPC header integrity protection"},
               {NetworkFileSystem::NFS_AUTH_KRB5I_STR,
                "Kerberos authentication with data integrity protection"},
           })},
      });
}

std::shared_ptr<CallSpec::OutputSpec> NFS41VolumeAdd::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFS41VolumeAdd::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const std::vector<std::string> hosts = input->GetParameterList("hosts");
  const std::string share = input->GetParameter("share");
  const std::string volume_name = input->GetParameter("volume-name");
  const bool read_only = input->IsFlagSet("readonly");
  const NetworkFileSystem::SecurityType security = SecurityOf(input->GetParameter("sec"));
  const bool is_pe = input->IsFlagSet("ispe");

  try {
    StrelCtl::Storage::StorageInfoImpl storage;
    auto volume = storage.AddV41NetworkFileSystem(hosts, share, volume_name, security);
    volume->SetReadOnly(read_only);
    volume->SetProtocolEndpoint(is_pe);
    if (!MountOrRemove(storage, *volume, HostCtl::Storage::FileSystem::MOUNT_DEFAULT, volume_name,
                       output)) {
      return;
    }
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
