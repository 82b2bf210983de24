#include "commands/kovra/snapshot_extent_list.h"

#include <cstdint>
#include <string>

#include "commands/kovra/extent_fields.h"
#include "commands/kovra/snapshot_selection.h"

namespace TarvexCli {
namespace FileSystem {

namespace {

struct SnapshotExtent {
  StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume;
  StrelCtl::Storage::UnresolvedKovraExtentImpl& extent;
  int32_t number;
};

MetaPtr Start(const SnapshotExtent& s) { return MetaObj::MetaInt::New(s.extent.GetStart()); }
MetaPtr End(const SnapshotExtent& s) { return MetaObj::MetaInt::New(s.extent.GetEnd()); }

// "KovraSnapshotExtent", filled in field order.
const RowLayout<SnapshotExtent>& Layout() {
  using F = ExtentFields<SnapshotExtent>;
  static const RowLayout<SnapshotExtent> layout(
      "KovraSnapshotExtent", {
                                 {"Volume Name", MetaObj::META_STRING, F::VolumeName},
                                 {"Kovra UUID", MetaObj::META_STRING, F::KovraUuid},
                                 {"LVM UUID", MetaObj::META_STRING, F::LvmUuid},
                                 {"Extent Number", MetaObj::META_INT, F::Number},
                                 {"Device Name", MetaObj::META_STRING, F::DeviceName},
                                 {"Partition", MetaObj::META_INT, F::Partition},
                                 {"Start", MetaObj::META_INT, Start},
                                 {"End", MetaObj::META_INT, End},
                             });
  return layout;
}

}  // namespace

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
  return Layout().Empty();
}

void KovraSnapshotExtentList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  auto list = StructList(GetOutputStructure());
  ListSelectedSnapshots(
      input, output, list, [&](StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume) {
        const auto extents = volume.GetExtents();
        // An extent's number is its slot: a missing extent keeps its number
        // used up, so the numbers show where the gap is.
        for (int32_t number = 0; number < static_cast<int32_t>(extents.size()); ++number) {
          auto* extent =
              dynamic_cast<StrelCtl::Storage::UnresolvedKovraExtentImpl*>(extents[number].get());
          if (!extent) continue;
          try {
            list->Add(ExtentRow(volume, number, *extent));
          } catch (const HostCtl::Lib::HostCtlException& e) {
            // The rest of this volume is skipped; the listing goes on.
            output->AddErrorMessage(e.what());
            break;
          }
        }
      });
}

std::shared_ptr<MetaObj::MetaStruct> KovraSnapshotExtentList::ExtentRow(
    StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume, int32_t number,
    StrelCtl::Storage::UnresolvedKovraExtentImpl& extent) {
  auto row = GetOutputStructure();
  Layout().Fill(*row, {volume, extent, number});
  return row;
}

}  // namespace FileSystem
}  // namespace TarvexCli
