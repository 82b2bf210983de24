#include "commands/nfs/nfs_volume_list.h"

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using MetaObj::MetaBool;
using MetaObj::MetaString;

std::shared_ptr<NFSVolumeList> NFSVolumeList::New() { return NewBoundCommand<NFSVolumeList>(); }

NFSVolumeList::NFSVolumeList() {
  SetDescription("List the NAS volumes currently known to the Orvane host.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter(
      "fields:NasMount",
      NasStrelnicBindingEnabled()
          ? "Volume Name,Host,Share,Strelnic,Accessible,Mounted,Read-Only,isPE,"
            "Hardware Acceleration"
          : "Volume Name,Host,Share,Accessible,Mounted,Read-Only,isPE,Hardware Acceleration");
}

NFSVolumeList::~NFSVolumeList() = default;

std::shared_ptr<CallSpec::InputSpec> NFSVolumeList::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"pe-only", "p", CallSpec::PARAM_FLAG, false,
                            "Filter the output to only show Ferrox PE volumes"},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> NFSVolumeList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> NFSVolumeList::GetOutputStructure() {
  auto row = EmptyStruct("NasMount", {{"Volume Name", MetaObj::META_STRING},
                                      {"Host", MetaObj::META_STRING},
                                      {"Share", MetaObj::META_STRING}});
  if (NasStrelnicBindingEnabled()) row->SetField("Strelnic", MetaString::New());
  for (const char* field : {"Accessible", "Mounted", "Read-Only", "isPE"}) {
    row->SetField(field, MetaBool::New());
  }
  row->SetField("Hardware Acceleration", MetaString::New());
  return row;
}

void NFSVolumeList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool pe_only = input->IsFlagSet("pe-only");
  ListNasMounts(
      &StrelCtl::Storage::StorageInfoImpl::GetV3NetworkFileSystems,
      pe_only ? StrelCtl::Storage::IsPE : StrelCtl::Storage::IsNotHidden,
      [this] { return GetOutputStructure(); },
      [](MetaObj::MetaStruct& row, HostCtl::Storage::NetworkFileSystem& mount) {
        row.SetField("Volume Name", MetaString::New(mount.GetVolumeName()));
        row.SetField("Host", MetaString::New(mount.GetHost()));
        row.SetField("Share", MetaString::New(mount.GetShare()));
        if (NasStrelnicBindingEnabled()) {
          row.SetField("Strelnic", MetaString::New(mount.GetStrelnic()));
        }
        row.SetField("Accessible", MetaBool::New(mount.IsAccessible()));
        row.SetField("Mounted", MetaBool::New(mount.IsMounted()));
        row.SetField("Read-Only", MetaBool::New(mount.IsReadOnly()));
        row.SetField("isPE", MetaBool::New(mount.IsProtocolEndpoint()));
        row.SetField("Hardware Acceleration",
                     MetaString::New(ArrakStateText(mount.GetArrakState())));
      },
      output);
}

}  // namespace FileSystem
}  // namespace TarvexCli
