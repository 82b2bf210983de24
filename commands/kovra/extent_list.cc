#include "commands/kovra/extent_list.h"

#include <string>

#include "commands/filesystem/per_volume.h"
#include "commands/kovra/extent_fields.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

namespace {

struct KovraExtent {
  HostCtl::Storage::KovraFileSystem& volume;
  HostCtl::Storage::DiskLunPartition& extent;
  int64_t number;
};

// "FilesystemKovraExtents", filled in field order.
const RowLayout<KovraExtent>& Layout() {
  using F = ExtentFields<KovraExtent>;
  static const RowLayout<KovraExtent> layout(
      "FilesystemKovraExtents", {
                                    {"Volume Name", MetaObj::META_STRING, F::VolumeName},
                                    {"Kovra UUID", MetaObj::META_STRING, F::KovraUuid},
                                    {"LVM UUID", MetaObj::META_STRING, F::LvmUuid},
                                    {"Device Name", MetaObj::META_STRING, F::DeviceName},
                                    {"Partition", MetaObj::META_INT, F::Partition},
                                    {"Extent Number", MetaObj::META_INT, F::Number},
                                });
  return layout;
}

}  // namespace

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
  return Layout().Empty();
}

void KovraExtentList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool ignore_errors = input->IsFlagSet("ignore-errors");
  try {
    auto list = StructList(GetOutputStructure());
    StrelCtl::Storage::StorageInfoImpl storage;
    KovraVolumes volumes = storage.GetKovraFileSystemsList(HostCtl::emptyString);
    UpdateExtentList(volumes, list, output, ignore_errors);
    output->SetRootObject(list);
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

void KovraExtentList::UpdateExtentList(const KovraVolumes& volumes,
                                       std::shared_ptr<MetaObj::MetaList> list,
                                       const OutputPtr& output, char ignore_errors) {
  ForEachVolumeSkippingFailures(
      volumes, ignore_errors, output, [&](HostCtl::Storage::KovraFileSystem& volume) {
        const auto extents = volume.GetExtents();
        // The number is the extent's place in the volume, so a slot the host
        // left empty does not renumber the extents after it.
        for (size_t number = 0; number < extents.size(); ++number) {
          if (!extents[number]) continue;
          auto row = GetOutputStructure();
          Layout().Fill(*row, {volume, *extents[number], static_cast<int64_t>(number)});
          list->Add(row);
        }
      });
}

}  // namespace FileSystem
}  // namespace TarvexCli
