// storage kovra snapshot resignature: gives the unresolved snapshots or
// replicas a label or UUID selects a new signature, where the host allows.
#ifndef COMMANDS_KOVRA_SNAPSHOT_RESIGNATURE_H_
#define COMMANDS_KOVRA_SNAPSHOT_RESIGNATURE_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraSnapshotResignature : public virtual Command {
 public:
  static std::shared_ptr<KovraSnapshotResignature> New();
  KovraSnapshotResignature();
  ~KovraSnapshotResignature() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True once the target check passed, also when nothing matched, the host
  // refused a volume or failed (see ResolveSelectedSnapshots).
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_SNAPSHOT_RESIGNATURE_H_
