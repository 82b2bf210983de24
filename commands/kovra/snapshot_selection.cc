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

void ListSelectedSnapshots(
    const InputPtr& input, const OutputPtr& output, const std::shared_ptr<MetaObj::MetaList>& list,
    const std::function<void(StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume)>& add_rows) {
  const std::string label = input->GetParameter("volume-label");
  const std::string uuid = input->GetParameter("volume-uuid");
  // Let through on purpose: made before the handler (see command_support.h).
  HostCtl::Storage::StorageInfoScopedCache cache(false);
  StrelCtl::Storage::StorageInfoImpl storage;
  try {
    const auto volumes = storage.GetUnresolvedVolumes();
    for (const auto& entry : volumes) {
      if (auto* volume = SelectSnapshot(entry, label, uuid)) add_rows(*volume);
    }
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
  output->SetRootObject(list);
}

const char* ResolveReasonText(HostCtl::Storage::ResolveReason reason) {
  // Twin of the host's own list (hostctl/impl/unresolved_impl.cc): the plug-in sees only include/.
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
