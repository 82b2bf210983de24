#include "commands/kovra/snapshot_resignature.h"

#include <string>

#include "commands/kovra/snapshot_resolve.h"
#include "commands/kovra/snapshot_selection.h"

namespace TarvexCli {
namespace FileSystem {

std::shared_ptr<KovraSnapshotResignature> KovraSnapshotResignature::New() {
  return NewBoundCommand<KovraSnapshotResignature>();
}

KovraSnapshotResignature::KovraSnapshotResignature() {
  SetDescription("Resignature a snapshot/replica of a Kovra volume.");
}

KovraSnapshotResignature::~KovraSnapshotResignature() = default;

std::shared_ptr<CallSpec::InputSpec> KovraSnapshotResignature::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-label", "l", CallSpec::PARAM_STRING, false,
                            "The Kovra volume label of the snapshot to resignature."},
                           {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
                            "The Kovra volume uuid of the snapshot to resignature."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> KovraSnapshotResignature::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void KovraSnapshotResignature::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  ResolveSelectedSnapshots(
      input, output,
      [](StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume, const OutputPtr& out) {
        // Both flags false: may a resignature go ahead now.
        HostCtl::Storage::ResolveReason reason = 0;
        if (volume.CanResolve(false, false, &reason)) {
          volume.Resignature();
        } else {
          out->AddErrorMessage(std::string("Target snapshot cannot be resignatured: ") +
                               ResolveReasonText(reason));
        }
      });
}

}  // namespace FileSystem
}  // namespace TarvexCli
