// storage kovra snapshot mount: mounts the unresolved snapshots or replicas
// a label or UUID selects with their signature kept.
#ifndef COMMANDS_KOVRA_SNAPSHOT_MOUNT_H_
#define COMMANDS_KOVRA_SNAPSHOT_MOUNT_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraSnapshotMount : public virtual Command {
 public:
  static std::shared_ptr<KovraSnapshotMount> New();
  KovraSnapshotMount();
  ~KovraSnapshotMount() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True once the target check passed, also when nothing matched or the
  // host failed (see ResolveSelectedSnapshots).
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_SNAPSHOT_MOUNT_H_
