#include "commands/kovra/extent_list.h"

#include <cstdint>
#include <string>

#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using MetaObj::MetaInt;
using MetaObj::MetaString;

std::shared_ptr<KovraExtentList> KovraExtentList::New() {
  return NewBoundCommand<KovraExtentList>();
}

KovraExtentList::KovraExtentList() {
  SetDescription("List the Kovra extents available on the host.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter("fields:FilesystemKovraExtents",
                            "Volume Name,Kovra UUID,Extent Number,Device Name,Partition");
}

KovraExtentList::~KovraExtentList() = default;

std::shared_ptr<CallSpec::InputSpec> KovraExtentList::GetInputSpecInternal() {
  auto spec = CallSpec::InputSpec::New();
  spec->AddParameter(IgnoreErrorInputParameter());
  return spec;
}

std::shared_ptr<CallSpec::OutputSpec> KovraExtentList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> KovraExtentList::GetOutputStructure() {
  return EmptyStruct("FilesystemKovraExtents", {{"Volume Name", MetaObj::META_STRING},
                                                {"Kovra UUID", MetaObj::META_STRING},
                                                {"LVM UUID", MetaObj::META_STRING},
                                                {"Device Name", MetaObj::META_STRING},
                                                {"Partition", MetaObj::META_INT},
                                                {"Extent Number", MetaObj::META_INT}});
}

void KovraExtentList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool ignore_errors = input->IsFlagSet("ignore-errors");
  try {
    auto list = StructList(GetOutputStructure());
    StrelCtl::Storage::StorageInfoImpl storage;
    KovraVolumes volumes = storage.GetKovraFileSystemsList(HostCtl::emptyString);
    UpdateExtentList(volumes, list, output, ignore_errors);
    volumes.clear();
    output->SetRootObject(list);
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

void KovraExtentList::UpdateExtentList(const KovraVolumes& volumes,
                                       std::shared_ptr<MetaObj::MetaList> list,
                                       const OutputPtr& output, char ignore_errors) {
  for (const auto& volume : volumes) {
    if (!volume) continue;
    try {
      const auto extents = volume->GetExtents();
      // The number is the extent's place in the volume, so a slot the host
      // left empty does not renumber the extents after it.
      for (size_t number = 0; number < extents.size(); ++number) {
        const auto& extent = extents[number];
        if (!extent) continue;
        auto row = GetOutputStructure();
        row->SetField("Volume Name", MetaString::New(volume->GetVolumeName()));
        row->SetField("Kovra UUID", MetaString::New(volume->GetUuid()));
        row->SetField("LVM UUID", MetaString::New(volume->GetLvmUuid()));
        row->SetField("Device Name", MetaString::New(extent->GetDeviceName()));
        row->SetField("Partition",
                      MetaInt::New(static_cast<uint8_t>(extent->GetPartitionNumber())));
        row->SetField("Extent Number", MetaInt::New(static_cast<int64_t>(number)));
        list->Add(row);
      }
    } catch (const HostCtl::Lib::HostCtlException& e) {
      if (!ignore_errors) {
        output->AddErrorMessage("Error getting data for filesystem on '" + volume->GetMountPoint() +
                                "': " + e.what() + ", skipping.");
      }
    }
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
