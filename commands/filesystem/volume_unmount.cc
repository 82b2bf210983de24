#include "commands/filesystem/volume_unmount.h"

#include <vector>

#include "commands/filesystem/notify_datastore.h"
#include "commands/filesystem/volume_targeting.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

namespace {

const int kBusy = 1;

std::string BusyMessage(const std::string& name) {
  return "Volume '" + name + "' cannot be unmounted. Reason: Busy";
}

}  // namespace

std::shared_ptr<VolumeUnmount> VolumeUnmount::New() { return NewBoundCommand<VolumeUnmount>(); }

VolumeUnmount::VolumeUnmount() {
  SetDescription(
      "Disconnect and unmount and existing Kovra or NAS volume. This will not delete the "
      "configuration for the volume, but will remove the volume from the list of mounted "
      "volumes.");
}

VolumeUnmount::~VolumeUnmount() = default;

std::shared_ptr<CallSpec::InputSpec> VolumeUnmount::GetInputSpecInternal() {
  return AddParameters(
      CallSpec::InputSpec::New(),
      {
          {"volume-label", "l", CallSpec::PARAM_STRING, false,
           "The label of the volume to unmount."},
          {"volume-path", "p", CallSpec::PARAM_STRING, false, "The path of the volume to unmount."},
          {"volume-uuid", "u", CallSpec::PARAM_STRING, false, "The uuid of the volume to unmount."},
          {"no-persist", "n", CallSpec::PARAM_FLAG, false,
           "Unmount the volume non-persistently; the volume will be automounted after a restart."},
          {"unmount-all-kovra", "a", CallSpec::PARAM_FLAG, false, "Unmount all kovra volumes."},
      });
}

std::shared_ptr<CallSpec::OutputSpec> VolumeUnmount::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void VolumeUnmount::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const std::string label = input->GetParameter("volume-label");
  const std::string path = input->GetParameter("volume-path");
  const std::string uuid = input->GetParameter("volume-uuid");
  // Let through on purpose: made before the handler (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  const int option = input->IsFlagSet("no-persist") ? HostCtl::Storage::FileSystem::MOUNT_NO_PERSIST
                                                    : HostCtl::Storage::FileSystem::MOUNT_DEFAULT;
  if (input->IsFlagSet("unmount-all-kovra")) {
    UnmountAllKovra(storage, option, output);
    return;
  }

  std::string target;
  std::unique_ptr<HostCtl::Storage::KovraFileSystem> volume;
  try {
    if (!label.empty() && !uuid.empty()) {
      output->AddErrorMessage(
          "A target volume specified by uuid cannot also be specified by path or label");
      return;
    }
    if (!label.empty() && !path.empty()) {
      output->AddErrorMessage(
          "A target volume specified by label cannot also be specified by path");
      return;
    }
    if (!label.empty()) {
      target = label;
      volume = storage.GetFileSystemByLabel(label);
      if (!volume) {
        output->AddErrorMessage("No volume with label '" + label + "' was found");
        return;
      }
    } else if (!path.empty() && !uuid.empty()) {
      output->AddErrorMessage(
          "A target volume specified by uuid cannot also be specified by path or label");
      return;
    } else if (!path.empty()) {
      target = path;
      volume = storage.GetFileSystemByPath(path);
      if (!volume) {
        output->AddErrorMessage("No NAS volume was found mounted on '" + path + "'");
        return;
      }
    } else if (uuid.empty()) {
      output->AddErrorMessage(
          "A target volume must be specified by either label, by path, or by uuid.");
      return;
    } else {
      target = uuid;
      volume = storage.GetFileSystemByUUID(uuid);
      if (!volume) {
        output->AddErrorMessage("No volume with uuid '" + uuid + "' was found");
        return;
      }
    }
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
    return;
  }

  try {
    if (!volume->IsMounted()) {
      output->AddErrorMessage("Volume '" + target + "' is not mounted");
      return;
    }
    volume->PrepareUnmount();
    storage.SignalIORM(true);
    NotifyDatastore("PreUnmount", volume->GetVolumeName());
    if (volume->Unmount(option) == kBusy) {
      output->AddErrorMessage(BusyMessage(target));
      NotifyDatastore("FailedUnmount", volume->GetVolumeName());
      return;
    }
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    NotifyDatastore("FailedUnmount", volume->GetVolumeName());
    output->AddErrorMessage(e.what());
  }
}

void VolumeUnmount::UnmountAllKovra(StrelCtl::Storage::StorageInfoImpl& storage, int option,
                                    const OutputPtr& output) {
  try {
    KovraVolumes mounted;
    std::vector<std::string> mounted_names;
    std::string names;
    {
      KovraVolumes listed = storage.GetKovraFileSystems(HostCtl::emptyString);
      for (const auto& entry : listed) {
        try {
          const std::string name = entry->GetVolumeName();
          const std::string uuid = entry->GetUuid();
          auto volume = storage.GetFileSystemByUUID(uuid);
          if (!volume || !volume->IsMounted()) continue;
          volume->PrepareUnmount();
          mounted.push_back(std::move(volume));
          mounted_names.push_back(name);
          if (!names.empty()) names += ",";
          names += name;
        } catch (const HostCtl::Lib::HostCtlException& e) {
          output->AddErrorMessage(e.what());
        }
      }
    }

    storage.SignalIORM(true);
    NotifyDatastore("PreUnmount", names);
    for (size_t i = 0; i < mounted.size(); ++i) {
      try {
        if (mounted[i]->Unmount(option) == kBusy) {
          output->AddErrorMessage(BusyMessage(mounted_names[i]));
          NotifyDatastore("FailedUnmount", mounted[i]->GetVolumeName());
        }
      } catch (const HostCtl::Lib::HostCtlException& e) {
        output->AddErrorMessage(e.what());
        NotifyDatastore("FailedUnmount", mounted[i]->GetVolumeName());
      }
    }
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
