#include "commands/nfs41/nfs41_volume_param.h"

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

std::shared_ptr<NFS41VolumeParamGet> NFS41VolumeParamGet::New() {
  return NewBoundCommand<NFS41VolumeParamGet>();
}

NFS41VolumeParamGet::NFS41VolumeParamGet() {
  SetDescription("Get the volume parameters of the NFS v4.1 volumes.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter("fields:NasMountParams",
                            "Volume Name, MaxQueueDepth,MaxReadTransferSize, MaxWriteTransferSize");
}

NFS41VolumeParamGet::~NFS41VolumeParamGet() = default;

std::shared_ptr<CallSpec::InputSpec> NFS41VolumeParamGet::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-name", "v", CallSpec::PARAM_STRING, true,
                            "NFS v4.1 volume name(\"all\" to list all)."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> NFS41VolumeParamGet::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> NFS41VolumeParamGet::GetOutputStructure() {
  return NasMountParamsStructure();
}

void NFS41VolumeParamGet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  // Unlike NFS v3, every mount of the name is listed, not only the first.
  ListNasMountParams(
      &StrelCtl::Storage::StorageInfoImpl::GetV41NetworkFileSystems,
      input->GetParameter("volume-name"), /*stop_at_first_match=*/false,
      [this] { return GetOutputStructure(); }, nullptr, output);
}

std::shared_ptr<NFS41VolumeParamSet> NFS41VolumeParamSet::New() {
  return NewBoundCommand<NFS41VolumeParamSet>();
}

NFS41VolumeParamSet::NFS41VolumeParamSet() {
  SetDescription("Set the volume parameters of the NFS v4.1 volumes.");
}

NFS41VolumeParamSet::~NFS41VolumeParamSet() = default;

std::shared_ptr<CallSpec::InputSpec> NFS41VolumeParamSet::GetInputSpecInternal() {
  return AddParameters(
      CallSpec::InputSpec::New(),
      {
          {"volume-name", "v", CallSpec::PARAM_STRING, true, "The NFS v4.1 volume name."},
          {"maxqueuedepth", "q", CallSpec::PARAM_INT, false,
           "The maximum queue depth for the NFS v4.1 volume.", IntRange(1, 4294967295LL)},
      });
}

std::shared_ptr<CallSpec::OutputSpec> NFS41VolumeParamSet::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFS41VolumeParamSet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  SetNasMountParams(
      &StrelCtl::Storage::StorageInfoImpl::GetV41NetworkFileSystems,
      input->GetParameter("volume-name"),
      [&input](HostCtl::Storage::NetworkFileSystem& mount) { SetQueueDepthIfGiven(*input, mount); },
      output);
}

}  // namespace FileSystem
}  // namespace TarvexCli
