#include "commands/nfs/nfs_volume_add.h"

#include <cstdint>
#include <string>

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Storage::FileSystem;

std::shared_ptr<NFSVolumeAdd> NFSVolumeAdd::New() { return NewBoundCommand<NFSVolumeAdd>(); }

NFSVolumeAdd::NFSVolumeAdd() {
  SetDescription(
      "Add a new NAS volume to the Orvane Host and mount it with the given volume name.");
}

NFSVolumeAdd::~NFSVolumeAdd() = default;

std::shared_ptr<CallSpec::InputSpec> NFSVolumeAdd::GetInputSpecInternal() {
  const bool binding = NasStrelnicBindingEnabled();
  auto spec = AddParameters(
      CallSpec::InputSpec::New(),
      {
          {"host", "H", CallSpec::PARAM_STRING, !binding,
           "The hostname or IP address of the NAS volume to add and mount on the system."},
      });
  if (binding) {
    AddParameters(spec, {
                            {"host-strelnic", "I", CallSpec::PARAM_STRING, false,
                             "The hostname or IP address of the NAS volume to add, followed by a "
                             "colon(:) and strelnic name i.e. <host/IP>:<strelnic> "},
                        });
  }
  return AddParameters(
      spec, {
                {"share", "s", CallSpec::PARAM_STRING, true,
                 "The share name on the remote system to use for this NAS mount point."},
                {"volume-name", "v", CallSpec::PARAM_STRING, true,
                 "The volume name to use for the NAS mount.  This must be a unique volume name and "
                 "cannot conflict with existing NAS, Kovra or other volume names."},
                {"readonly", "r", CallSpec::PARAM_FLAG, false,
                 "If set this flag will set the mount point to be read-only."},
                {"ispe", "p", CallSpec::PARAM_FLAG, false,
                 "If set this flag will set the mount point to be PE."},
                {"unsupported-mount-retry", "", CallSpec::PARAM_FLAG, false, ""},
                {"unsupported-queue-depth", "", CallSpec::PARAM_INT, false, "",
                 IntRange(1, 4294967295LL)},
            });
}

std::shared_ptr<CallSpec::OutputSpec> NFSVolumeAdd::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFSVolumeAdd::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  // Let through on purpose: made before the handler (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  const std::string share = input->GetParameter("share");
  const std::string volume_name = input->GetParameter("volume-name");
  const bool read_only = input->IsFlagSet("readonly");

  std::string host;
  std::string strelnic;
  bool strelnic_given = false;
  if (!NasStrelnicBindingEnabled()) {
    host = input->GetParameter("host");
  } else {
    const bool has_host = input->HasParameter("host");
    if (has_host == input->HasParameter("host-strelnic")) {
      output->AddErrorMessage("Either hostName or strelnic shoud be provided");
      return;
    }
    if (has_host) {
      host = input->GetParameter("host");
    } else {
      // "<host>:<strelnic>", split at the first colon; neither part is checked.
      const std::string host_strelnic = input->GetParameter("host-strelnic");
      const auto colon = host_strelnic.find(':');
      if (colon == std::string::npos) {
        output->AddErrorMessage("Invalid host-strelnic input");
        return;
      }
      host = host_strelnic.substr(0, colon);
      strelnic = host_strelnic.substr(colon + 1);
      strelnic_given = true;
    }
  }

  const bool is_pe = input->IsFlagSet("ispe");
  const bool retry = input->IsFlagSet("unsupported-mount-retry");
  const int option = retry ? FileSystem::MOUNT_RETRY : FileSystem::MOUNT_DEFAULT;
  uint32_t queue_depth = 0;
  if (input->HasParameter("unsupported-queue-depth")) {
    if (!retry) {
      output->AddErrorMessage("unsupported-queue-depth requires unsupported-mount-retry flag");
      return;
    }
    const int64_t depth = input->GetParameterInt("unsupported-queue-depth");
    if (depth > 0) queue_depth = static_cast<uint32_t>(depth);
  }

  try {
    auto volume = storage.AddNetworkFileSystem(host, share, volume_name, strelnic_given, strelnic,
                                               queue_depth);
    volume->SetReadOnly(read_only);
    volume->SetProtocolEndpoint(is_pe);
    if (NasPreunmountEnabled()) {
      // Hosts with the preunmount state: a plain mount, and a volume that
      // fails to mount stays configured.
      volume->Mount(FileSystem::MOUNT_DEFAULT);
    } else if (!MountOrRemove(storage, *volume, option, volume_name, output)) {
      return;
    }
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
