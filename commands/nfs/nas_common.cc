#include "commands/nfs/nas_common.h"

#include "commands/filesystem/notify_datastore.h"
#include "hostctl/lib.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Lib::HostCtlException;
using MetaObj::MetaInt;
using MetaObj::MetaString;

bool NasStrelnicBindingEnabled() {
  return *HostCtl::FeatureList[HostCtl::FEATURE_NAS_STRELNIC_BINDING] != 0;
}

bool NasPreunmountEnabled() { return *HostCtl::FeatureList[HostCtl::FEATURE_NAS_PREUNMOUNT] != 0; }

const char* ArrakStateText(HostCtl::Storage::ArrakState state) {
  switch (state) {
    case HostCtl::Storage::ARRAK_SUPPORTED:
      return "Supported";
    case HostCtl::Storage::ARRAK_NOT_SUPPORTED:
      return "Not Supported";
    default:
      return "Unknown";
  }
}

bool MountOrRemove(StrelCtl::Storage::StorageInfoImpl& storage,
                   HostCtl::Storage::NetworkFileSystem& volume, int option,
                   const std::string& volume_name, const OutputPtr& output) {
  try {
    volume.Mount(option);
    return true;
  } catch (const HostCtlException& mount_failure) {
    // A volume that cannot be mounted is not left configured behind the
    // user's back.
    try {
      storage.RemoveNetworkFileSystem(volume_name);
      output->AddErrorMessage(mount_failure.what());
    } catch (const HostCtlException& removal_failure) {
      output->AddErrorMessage(removal_failure.what());
    }
    return false;
  }
}

void RemoveNasVolume(const std::string& volume_name, StrelCtl::Storage::NfsVersion version,
                     const OutputPtr& output) {
  try {
    NotifyDatastore("PreUnmount", volume_name);
    StrelCtl::Storage::StorageInfoImpl::RemoveNetworkFileSystem(volume_name, version);
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtlException& e) {
    output->AddErrorMessage(e.what());
    // The agent heard "PreUnmount" (or tried to): it must learn that the
    // volume stays.
    NotifyDatastore("FailedUnmount", volume_name);
  }
}

void ListNasMounts(NasQuery query, StrelCtl::Storage::NfsFilter filter, const NasRowMaker& make_row,
                   const NasRowFiller& fill_row, const OutputPtr& output) {
  try {
    auto list = StructList(make_row());
    StrelCtl::Storage::StorageInfoImpl storage;
    const NasMounts mounts = (storage.*query)(filter);
    for (const auto& mount : mounts) {
      try {
        auto row = make_row();
        fill_row(*row, *mount);
        list->Add(row);
      } catch (const HostCtlException& e) {
        // Asking the name again may fail too; that ends the run (outer handler).
        output->AddErrorMessage("Error getting data for mount '" + mount->GetVolumeName() +
                                "': " + e.what() + ", skipping.");
      }
    }
    output->SetRootObject(list);
  } catch (const HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

std::shared_ptr<MetaObj::MetaStruct> NasMountParamsStructure() {
  return EmptyStruct("NasMountParams", {{"Volume Name", MetaObj::META_STRING},
                                        {"MaxQueueDepth", MetaObj::META_INT},
                                        {"MaxReadTransferSize", MetaObj::META_INT},
                                        {"MaxWriteTransferSize", MetaObj::META_INT}});
}

void ListNasMountParams(NasQuery query, const std::string& volume_name, bool stop_at_first_match,
                        const NasRowMaker& make_row, const NasRowFiller& fill_extra,
                        const OutputPtr& output) {
  const bool all = volume_name == "all";
  try {
    auto list = StructList(make_row());
    StrelCtl::Storage::StorageInfoImpl storage;
    const NasMounts mounts = (storage.*query)(StrelCtl::Storage::IsNotPE);
    for (const auto& mount : mounts) {
      const std::string name = mount->GetVolumeName();
      if (!all && name != volume_name) continue;
      try {
        auto row = make_row();
        row->SetField("Volume Name", MetaString::New(name));
        row->SetField("MaxQueueDepth", MetaInt::New(mount->GetMaxQueueDepth()));
        row->SetField("MaxReadTransferSize", MetaInt::New(mount->GetMaxReadTransferSize()));
        row->SetField("MaxWriteTransferSize", MetaInt::New(mount->GetMaxWriteTransferSize()));
        if (fill_extra) fill_extra(*row, *mount);
        list->Add(row);
      } catch (const HostCtlException& e) {
        output->AddErrorMessage("Error getting params for mount '" + mount->GetVolumeName() +
                                "': " + e.what() + ", skipping.");
        continue;
      }
      if (!all && stop_at_first_match) break;
    }
    output->SetRootObject(list);
  } catch (const HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

void SetNasMountParams(NasQuery query, const std::string& volume_name,
                       const NasMountChanger& change, const OutputPtr& output) {
  try {
    StrelCtl::Storage::StorageInfoImpl storage;
    const NasMounts mounts = (storage.*query)(StrelCtl::Storage::IsNotPE);
    for (const auto& mount : mounts) {
      const std::string name = mount->GetVolumeName();
      if (name != volume_name) continue;
      try {
        change(*mount);
      } catch (const HostCtlException& e) {
        output->AddErrorMessage("Error setting params for mount '" + name + "': " + e.what());
        return;
      }
    }
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

void SetQueueDepthIfGiven(const CallSpec::Input& input,
                          HostCtl::Storage::NetworkFileSystem& mount) {
  if (input.HasParameter("maxqueuedepth")) {
    // The framework has checked the range 1 to 4294967295.
    mount.SetMaxQueueDepth(static_cast<uint32_t>(input.GetParameterInt("maxqueuedepth")), true);
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
