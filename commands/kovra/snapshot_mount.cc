#include "commands/kovra/snapshot_mount.h"

#include "commands/kovra/snapshot_resolve.h"

namespace TarvexCli {
namespace FileSystem {

std::shared_ptr<KovraSnapshotMount> KovraSnapshotMount::New() {
  return NewBoundCommand<KovraSnapshotMount>();
}

KovraSnapshotMount::KovraSnapshotMount() {
  SetDescription("Mount a snapshot/replica of a Kovra volume.");
}

KovraSnapshotMount::~KovraSnapshotMount() = default;

std::shared_ptr<CallSpec::InputSpec> KovraSnapshotMount::GetInputSpecInternal() {
  return AddParameters(
      CallSpec::InputSpec::New(),
      {
          {"volume-label", "l", CallSpec::PARAM_STRING, false,
           "The Kovra volume label of the snapshot to mount."},
          {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
           "The Kovra volume uuid of the snapshot to mount."},
          {"no-persist", "n", CallSpec::PARAM_FLAG, false,
           "Mount the volume non-persistently; the volume will not be automounted after a "
           "restart."},
      });
}

std::shared_ptr<CallSpec::OutputSpec> KovraSnapshotMount::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void KovraSnapshotMount::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool persistent = !input->IsFlagSet("no-persist");
  ResolveSelectedSnapshots(
      input, output,
      [persistent](StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume, const OutputPtr&) {
        // The mounted volume is reached through the host's volume lists
        // from now on; the handle returned here is not needed.
        volume.Mount(false, persistent);
      });
}

}  // namespace FileSystem
}  // namespace TarvexCli
