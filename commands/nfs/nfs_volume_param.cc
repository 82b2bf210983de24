#include "commands/nfs/nfs_volume_param.h"

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

using MetaObj::MetaString;

std::shared_ptr<NFSVolumeParamGet> NFSVolumeParamGet::New() {
  return NewBoundCommand<NFSVolumeParamGet>();
}

NFSVolumeParamGet::NFSVolumeParamGet() {
  SetDescription("Get the volume parameters of the NAS volumes.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter(
      "fields:NasMountParams",
      NasStrelnicBindingEnabled()
          ? "Volume Name, MaxQueueDepth,MaxReadTransferSize, MaxWriteTransferSize,Strelnic"
          : "Volume Name, MaxQueueDepth,MaxReadTransferSize, MaxWriteTransferSize");
}

NFSVolumeParamGet::~NFSVolumeParamGet() = default;

std::shared_ptr<CallSpec::InputSpec> NFSVolumeParamGet::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-name", "v", CallSpec::PARAM_STRING, true,
                            "NAS volume name(\"all\" to list all)."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> NFSVolumeParamGet::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> NFSVolumeParamGet::GetOutputStructure() {
  auto row = NasMountParamsStructure();
  if (NasStrelnicBindingEnabled()) row->SetField("Strelnic", MetaString::New());
  return row;
}

void NFSVolumeParamGet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  ListNasMountParams(
      &StrelCtl::Storage::StorageInfoImpl::GetV3NetworkFileSystems,
      input->GetParameter("volume-name"), /*stop_at_first_match=*/true,
      [this] { return GetOutputStructure(); },
      [](MetaObj::MetaStruct& row, HostCtl::Storage::NetworkFileSystem& mount) {
        if (NasStrelnicBindingEnabled()) {
          row.SetField("Strelnic", MetaString::New(mount.GetStrelnicParameter()));
        }
      },
      output);
}

std::shared_ptr<NFSVolumeParamSet> NFSVolumeParamSet::New() {
  return NewBoundCommand<NFSVolumeParamSet>();
}

NFSVolumeParamSet::NFSVolumeParamSet() {
  SetDescription("Set the volume parameters of the NAS volumes.");
}

NFSVolumeParamSet::~NFSVolumeParamSet() = default;

std::shared_ptr<CallSpec::InputSpec> NFSVolumeParamSet::GetInputSpecInternal() {
  auto spec =
      AddParameters(CallSpec::InputSpec::New(),
                    {
                        {"volume-name", "v", CallSpec::PARAM_STRING, true, "The NAS volume name."},
                        {"maxqueuedepth", "q", CallSpec::PARAM_INT, false,
                         "The maximum queue depth for the NAS volume.", IntRange(1, 4294967295LL)},
                    });
  if (NasStrelnicBindingEnabled()) {
    AddParameters(spec, {
                            {"strelnic", "I", CallSpec::PARAM_STRING, false,
                             "The new strelnic to be configured for the NAS volume."},
                        });
  }
  return spec;
}

std::shared_ptr<CallSpec::OutputSpec> NFSVolumeParamSet::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFSVolumeParamSet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  SetNasMountParams(
      &StrelCtl::Storage::StorageInfoImpl::GetV3NetworkFileSystems,
      input->GetParameter("volume-name"),
      [&input](HostCtl::Storage::NetworkFileSystem& mount) {
        SetQueueDepthIfGiven(*input, mount);
        if (input->HasParameter("strelnic")) {
          mount.SetStrelnic(input->GetParameter("strelnic"));
        }
      },
      output);
}

}  // namespace FileSystem
}  // namespace TarvexCli
