#include "commands/filesystem/volume_list.h"

#include <string>

#include "commands/filesystem/kovra_version.h"
#include "commands/filesystem/per_volume.h"
#include "commands/filesystem/volume_targeting.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using MetaObj::MetaBool;
using MetaObj::MetaInt;
using MetaObj::MetaString;

std::shared_ptr<VolumeList> VolumeList::New() { return NewBoundCommand<VolumeList>(); }

VolumeList::VolumeList() {
  SetDescription(
      "List the volumes available to the host. This includes Kovra, NAS, VFAT and UFS "
      "partitions.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter("fields:FilesystemVolume",
                            "Mount Point,Volume Name,UUID,Mounted,Type,Size,Free");
}

VolumeList::~VolumeList() = default;

std::shared_ptr<CallSpec::InputSpec> VolumeList::GetInputSpecInternal() {
  auto spec =
      AddParameters(CallSpec::InputSpec::New(),
                    {
                        {"uuid", "u", CallSpec::PARAM_STRING, false,
                         "Only show information for the filesystem with the specified UUID."},
                    });
  spec->AddParameter(IgnoreErrorInputParameter());
  return spec;
}

std::shared_ptr<CallSpec::OutputSpec> VolumeList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> VolumeList::GetOutputStructure() {
  return EmptyStruct("FilesystemVolume", {{"Mount Point", MetaObj::META_STRING},
                                          {"Volume Name", MetaObj::META_STRING},
                                          {"UUID", MetaObj::META_STRING},
                                          {"Type", MetaObj::META_STRING},
                                          {"Mounted", MetaObj::META_BOOL},
                                          {"Size", MetaObj::META_INT},
                                          {"Free", MetaObj::META_INT}});
}

void VolumeList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool ignore_errors = input->IsFlagSet("ignore-errors");
  try {
    auto list = StructList(GetOutputStructure());
    StrelCtl::Storage::StorageInfoImpl storage;
    std::vector<std::unique_ptr<HostCtl::Storage::FileSystem>> volumes;
    if (input->HasParameter("uuid")) {
      auto volume = storage.GetFileSystemByUuidEx(input->GetParameter("uuid"));
      if (!volume) {
        output->AddErrorMessage("Could not find any filesystem with specified UUID.");
        return;
      }
      volumes.push_back(std::move(volume));
      output->SetRootObject(list);
    } else {
      volumes = storage.GetFileSystems();
    }
    UpdateFileSystemList(volumes, list, output, ignore_errors);
    output->SetRootObject(list);
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

void VolumeList::UpdateFileSystemList(
    const std::vector<std::unique_ptr<HostCtl::Storage::FileSystem>>& volumes,
    std::shared_ptr<MetaObj::MetaList> list, const OutputPtr& output, char ignore_errors) {
  ForEachVolumeSkippingFailures(
      volumes, ignore_errors, output, [&](HostCtl::Storage::FileSystem& volume) {
        auto row = GetOutputStructure();
        std::string type = volume.GetType();
        if (type == "Kovra") {
          if (auto* kovra = dynamic_cast<HostCtl::Storage::KovraFileSystem*>(&volume)) {
            type = GetKovraVersionString(kovra);
          }
        }
        // Filled in another order than the structure's ("Mounted" last): the
        // host is asked in this order.
        row->SetField("Mount Point", MetaString::New(volume.GetMountPoint()));
        row->SetField("Volume Name", MetaString::New(volume.GetVolumeName()));
        row->SetField("UUID", MetaString::New(volume.GetUuid()));
        row->SetField("Type", MetaString::New(type));
        row->SetField("Size", MetaInt::New(volume.GetCapacity()));
        row->SetField("Free", MetaInt::New(volume.GetCapacity() - volume.GetUsedSpace()));
        row->SetField("Mounted", MetaBool::New(volume.IsMounted()));
        list->Add(row);
      });
}

}  // namespace FileSystem
}  // namespace TarvexCli
