#include "commands/filesystem/volume_mount.h"

#include <string>

#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

std::shared_ptr<VolumeMount> VolumeMount::New() { return NewBoundCommand<VolumeMount>(); }

VolumeMount::VolumeMount() {
  SetDescription("Connect to and mount an unmounted volume on the Orvane host.");
}

VolumeMount::~VolumeMount() = default;

std::shared_ptr<CallSpec::InputSpec> VolumeMount::GetInputSpecInternal() {
  return AddParameters(
      CallSpec::InputSpec::New(),
      {
          {"volume-label", "l", CallSpec::PARAM_STRING, false,
           "The label of the volume to mount. This volume must be unmounted for this operation "
           "to succeed."},
          {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
           "The UUID of the Kovra filesystem to mount. This volume must be unmounted for this "
           "operation to succeed."},
          {"no-persist", "n", CallSpec::PARAM_FLAG, false,
           "Mount the volume non-persistently; the volume will not be mounted after a restart."},
      });
}

std::shared_ptr<CallSpec::OutputSpec> VolumeMount::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void VolumeMount::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const std::string uuid = input->GetParameter("volume-uuid");
  const std::string label = input->GetParameter("volume-label");
  // Let through on purpose: made before the handler (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  const int option = input->IsFlagSet("no-persist") ? HostCtl::Storage::FileSystem::MOUNT_NO_PERSIST
                                                    : HostCtl::Storage::FileSystem::MOUNT_DEFAULT;

  // The host may mount the volume on its own; only when it does not are the
  // arguments checked and the volume mounted explicitly.
  if (storage.TryMount(option, uuid, label)) {
    output->SetRootObject(MetaObj::MetaBool::New(true));
    return;
  }

  try {
    std::string target;
    std::unique_ptr<HostCtl::Storage::KovraFileSystem> volume;
    if (!uuid.empty() && !label.empty()) {
      output->AddErrorMessage(
          "A target volume specified by uuid cannot also be specified by label");
      return;
    }
    if (!uuid.empty()) {
      target = uuid;
      volume = storage.GetFileSystemByUUID(uuid);
      if (!volume) {
        output->AddErrorMessage("No volume with uuid '" + uuid + "' was found");
        return;
      }
    } else if (label.empty()) {
      output->AddErrorMessage("A target volume must be specified by volume uuid or volume label");
      return;
    } else {
      target = label;
      volume = storage.GetFileSystemByLabel(label);
      if (!volume) {
        output->AddErrorMessage("No volume with label '" + label + "' was found");
        return;
      }
    }
    if (volume->IsMounted()) {
      output->AddErrorMessage("Volume '" + target + "' is already mounted");
      return;
    }
    volume->Mount(option);
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
