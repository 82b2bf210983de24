#include "commands/kovra/snapshot_list.h"

#include <string>

#include "commands/kovra/snapshot_selection.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using MetaObj::MetaBool;
using MetaObj::MetaInt;
using MetaObj::MetaString;

std::shared_ptr<KovraSnapshotList> KovraSnapshotList::New() {
  return NewBoundCommand<KovraSnapshotList>();
}

KovraSnapshotList::KovraSnapshotList() {
  SetDescription("List unresolved snapshots/replicas of Kovra volume.");
  SetDefaultOutputFormatter("simple");
  SetDefaultOutputParameter("header:KovraSnapshot", "%Kovra UUID%");
  SetDefaultOutputParameter("fields:KovraSnapshot",
                            "Volume Name,Kovra UUID,Can mount,Reason for un-mountability,"
                            "Can resignature,Reason for non-resignaturability,"
                            "Unresolved Extent Count");
}

KovraSnapshotList::~KovraSnapshotList() = default;

std::shared_ptr<CallSpec::InputSpec> KovraSnapshotList::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-label", "l", CallSpec::PARAM_STRING, false,
                            "The Kovra volume label of the snapshot to list."},
                           {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
                            "The Kovra volume uuid of the snapshot to list."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> KovraSnapshotList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> KovraSnapshotList::GetOutputStructure() {
  return EmptyStruct("KovraSnapshot", {{"Volume Name", MetaObj::META_STRING},
                                       {"Kovra UUID", MetaObj::META_STRING},
                                       {"Can mount", MetaObj::META_BOOL},
                                       {"Reason for un-mountability", MetaObj::META_STRING},
                                       {"Can resignature", MetaObj::META_BOOL},
                                       {"Reason for non-resignaturability", MetaObj::META_STRING},
                                       {"Unresolved Extent Count", MetaObj::META_INT}});
}

void KovraSnapshotList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  auto list = StructList(GetOutputStructure());
  ListSelectedSnapshots(
      input, output, list, [&](StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume) {
        auto row = GetOutputStructure();
        row->SetField("Volume Name", MetaString::New(volume.GetVolumeName()));
        row->SetField("Kovra UUID", MetaString::New(volume.GetUuid()));
        HostCtl::Storage::ResolveReason mount_reason = 0;
        const bool can_mount = volume.CanResolve(false, true, &mount_reason);
        row->SetField("Can mount", MetaBool::New(can_mount));
        row->SetField("Reason for un-mountability",
                      MetaString::New(can_mount ? "" : ResolveReasonText(mount_reason)));
        HostCtl::Storage::ResolveReason resignature_reason = 0;
        const bool can_resignature = volume.CanResolve(true, false, &resignature_reason);
        row->SetField("Can resignature", MetaBool::New(can_resignature));
        row->SetField(
            "Reason for non-resignaturability",
            MetaString::New(can_resignature ? "" : ResolveReasonText(resignature_reason)));
        // Empty slots count: they are extents the snapshot should have.
        row->SetField("Unresolved Extent Count",
                      MetaInt::New(static_cast<int64_t>(volume.GetExtents().size())));
        list->Add(row);
      });
}

}  // namespace FileSystem
}  // namespace TarvexCli
