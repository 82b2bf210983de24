#include "commands/kovra/snapshot_extent_list.h"

#include <string>

#include "commands/kovra/snapshot_selection.h"

namespace TarvexCli {
namespace FileSystem {

using MetaObj::MetaInt;
using MetaObj::MetaString;

std::shared_ptr<KovraSnapshotExtentList> KovraSnapshotExtentList::New() {
  return NewBoundCommand<KovraSnapshotExtentList>();
}

KovraSnapshotExtentList::KovraSnapshotExtentList() {
  SetDescription("List extents of unresolved snapshots/replicas of Kovra volume.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter("fields:KovraSnapshotExtent",
                            "Volume Name,Kovra UUID,Extent Number,Device Name,Partition,Start,End");
}

KovraSnapshotExtentList::~KovraSnapshotExtentList() = default;

std::shared_ptr<CallSpec::InputSpec> KovraSnapshotExtentList::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-label", "l", CallSpec::PARAM_STRING, false,
                            "The Kovra volume label of the target snapshot to enumerate."},
                           {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
                            "The Kovra volume uuid of the target snapshot to enumerate."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> KovraSnapshotExtentList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> KovraSnapshotExtentList::GetOutputStructure() {
  return EmptyStruct("KovraSnapshotExtent", {{"Volume Name", MetaObj::META_STRING},
                                             {"Kovra UUID", MetaObj::META_STRING},
                                             {"LVM UUID", MetaObj::META_STRING},
                                             {"Extent Number", MetaObj::META_INT},
                                             {"Device Name", MetaObj::META_STRING},
                                             {"Partition", MetaObj::META_INT},
                                             {"Start", MetaObj::META_INT},
                                             {"End", MetaObj::META_INT}});
}

void KovraSnapshotExtentList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const std::string label = input->GetParameter("volume-label");
  const std::string uuid = input->GetParameter("volume-uuid");
  HostCtl::Storage::StorageInfoScopedCache cache(false);
  StrelCtl::Storage::StorageInfoImpl storage;
  auto list = StructList(GetOutputStructure());
  try {
    const auto volumes = storage.GetUnresolvedVolumes();
    for (const auto& entry : volumes) {
      auto* volume = SelectSnapshot(entry, label, uuid);
      if (!volume) continue;
      const auto extents = volume->GetExtents();
      // An extent's number is its slot: a missing extent keeps its number
      // used up, so the numbers show where the gap is.
      for (int32_t number = 0; number < static_cast<int32_t>(extents.size()); ++number) {
        auto* extent =
            dynamic_cast<StrelCtl::Storage::UnresolvedKovraExtentImpl*>(extents[number].get());
        if (!extent) continue;
        try {
          list->Add(ExtentRow(*volume, number, *extent));
        } catch (const HostCtl::Lib::HostCtlException& e) {
          output->AddErrorMessage(e.what());
          break;
        }
      }
    }
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
  output->SetRootObject(list);
}

std::shared_ptr<MetaObj::MetaStruct> KovraSnapshotExtentList::ExtentRow(
    StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume, int32_t number,
    StrelCtl::Storage::UnresolvedKovraExtentImpl& extent) {
  auto row = GetOutputStructure();
  row->SetField("Volume Name", MetaString::New(volume.GetVolumeName()));
  row->SetField("Kovra UUID", MetaString::New(volume.GetUuid()));
  row->SetField("LVM UUID", MetaString::New(volume.GetLvmUuid()));
  row->SetField("Extent Number", MetaInt::New(number));
  row->SetField("Device Name", MetaString::New(extent.GetDeviceName()));
  row->SetField("Partition", MetaInt::New(static_cast<uint8_t>(extent.GetPartitionNumber())));
  row->SetField("Start", MetaInt::New(extent.GetStart()));
  row->SetField("End", MetaInt::New(extent.GetEnd()));
  return row;
}

}  // namespace FileSystem
}  // namespace TarvexCli
