#include "commands/kovra/snapshot_resolve.h"

#include <string>

#include "commands/kovra/snapshot_selection.h"

namespace TarvexCli {
namespace FileSystem {

void ResolveSelectedSnapshots(const InputPtr& input, const OutputPtr& output,
                              const SnapshotResolver& resolve) {
  const std::string label = input->GetParameter("volume-label");
  const std::string uuid = input->GetParameter("volume-uuid");
  // Let through on purpose: made before the handler (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  if (!label.empty() && !uuid.empty()) {
    output->AddErrorMessage("A target snapshot cannot be specified by both volume label and uuid.");
    return;
  }
  if (label.empty() && uuid.empty()) {
    output->AddErrorMessage(
        "A target Kovra volume must be specified by either volume label or uuid but not both.");
    return;
  }
  try {
    const auto volumes = storage.GetUnresolvedVolumes();
    int found = 0;
    // Replicas of one volume share its UUID and label: every match is
    // resolved, not only the first.
    for (const auto& entry : volumes) {
      auto* volume = SelectSnapshot(entry, label, uuid);
      if (!volume) continue;
      resolve(*volume, output);
      ++found;
    }
    if (found == 0) {
      output->AddErrorMessage(
          !uuid.empty() ? "No unresolved Kovra snapshots with volume UUID '" + uuid + "' found."
                        : "No unresolved Kovra snapshots with volume label '" + label + "' found.");
    }
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
  output->SetRootObject(MetaObj::MetaBool::New(true));
}

}  // namespace FileSystem
}  // namespace TarvexCli
