#include "commands/nfs/nfs_volume_remove.h"

#include "commands/nfs/nas_common.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

std::shared_ptr<NFSVolumeRemove> NFSVolumeRemove::New() {
  return NewBoundCommand<NFSVolumeRemove>();
}

NFSVolumeRemove::NFSVolumeRemove() {
  SetDescription("Remove an existing NAS volume from the Orvane host.");
}

NFSVolumeRemove::~NFSVolumeRemove() = default;

std::shared_ptr<CallSpec::InputSpec> NFSVolumeRemove::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-name", "v", CallSpec::PARAM_STRING, true,
                            "The volume name of the NAS volume to remove from the Orvane host."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> NFSVolumeRemove::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFSVolumeRemove::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  // Opens the host's store first: the agent must hear nothing of a removal
  // that cannot even be attempted. Let through on purpose (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  RemoveNasVolume(input->GetParameter("volume-name"), StrelCtl::Storage::NFS_V3, output);
}

}  // namespace FileSystem
}  // namespace TarvexCli
