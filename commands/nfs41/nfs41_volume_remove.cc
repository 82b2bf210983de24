#include "commands/nfs41/nfs41_volume_remove.h"

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

std::shared_ptr<NFS41VolumeRemove> NFS41VolumeRemove::New() {
  return NewBoundCommand<NFS41VolumeRemove>();
}

NFS41VolumeRemove::NFS41VolumeRemove() {
  SetDescription("Remove an existing NFS v4.1 volume from the Orvane host.");
}

NFS41VolumeRemove::~NFS41VolumeRemove() = default;

std::shared_ptr<CallSpec::InputSpec> NFS41VolumeRemove::GetInputSpecInternal() {
  return AddParameters(
      CallSpec::InputSpec::New(),
      {
          {"volume-name", "v", CallSpec::PARAM_STRING, true,
           "The volume name of the NFS v4.1 volume to remove from the Orvane host."},
      });
}

std::shared_ptr<CallSpec::OutputSpec> NFS41VolumeRemove::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFS41VolumeRemove::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  // Opens the host's store first: the agent must hear nothing of a removal
  // that cannot even be attempted. Let through on purpose (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  RemoveNasVolume(input->GetParameter("volume-name"), StrelCtl::Storage::NFS_V41, output);
}

}  // namespace FileSystem
}  // namespace TarvexCli
