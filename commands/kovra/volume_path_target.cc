#include "commands/kovra/volume_path_target.h"

namespace TarvexCli {
namespace FileSystem {

using StrelCtl::Storage::KovraFileSystemImpl;

KovraPathTarget OpenKovraVolumeByPath(const InputPtr& input, const OutputPtr& output) {
  const std::string label = input->GetParameter("volume-label");
  const std::string uuid = input->GetParameter("volume-uuid");
  KovraPathTarget target;
  if (!uuid.empty() && !label.empty()) {
    output->AddErrorMessage(
        "You cannot specify both uuid and volume label as target. Please specify only one of "
        "these");
    return target;
  }
  if (uuid.empty() && label.empty()) {
    output->AddErrorMessage("A target Kovra volume must be specified either by label or uuid.");
    return target;
  }
  // The lookup only proves that the volume exists; the work goes through the
  // volume's path.
  const bool by_uuid = !uuid.empty();
  const bool found = by_uuid ? KovraFileSystemImpl::GetKovraFileSystemByUUID(uuid) != nullptr
                             : KovraFileSystemImpl::GetKovraFileSystemByLabel(label) != nullptr;
  if (!found) {
    output->AddErrorMessage(by_uuid ? "Cannot find Kovra volume with uuid " + uuid
                                    : "Cannot find Kovra volume with label " + label);
    return target;
  }
  target.name = by_uuid ? uuid : label;
  target.volume = std::make_unique<KovraFileSystemImpl>("/kovra/volumes/" + target.name);
  return target;
}

}  // namespace FileSystem
}  // namespace TarvexCli
