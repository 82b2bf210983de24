#include "commands/kovra/snapshot_selection.h"

namespace TarvexCli {
namespace FileSystem {

StrelCtl::Storage::UnresolvedKovraVolumeImpl* SelectSnapshot(
    const std::unique_ptr<HostCtl::Storage::UnresolvedKovraVolume>& entry, const std::string& label,
    const std::string& uuid) {
  if (!entry) return nullptr;
  auto* volume = dynamic_cast<StrelCtl::Storage::UnresolvedKovraVolumeImpl*>(entry.get());
  if (!volume) return nullptr;
  if (!uuid.empty() && uuid != volume->GetUuid()) return nullptr;
  if (!label.empty() && label != volume->GetVolumeName()) return nullptr;
  return volume;
}

const char* ResolveReasonText(HostCtl::Storage::ResolveReason reason) {
  static const char* const kTexts[] = {
      "ok",
      "duplicate extents found",
      "some extents missing",
      "extra extents found",
      "failed to check for existing active volumes",
      "the volume is being actively used",
      "the original volume is still online",
      "the original volume has some extents online",
  };
  if (reason >= sizeof(kTexts) / sizeof(kTexts[0])) return "unknown error";
  return kTexts[reason];
}

}  // namespace FileSystem
}  // namespace TarvexCli
