// storage kovra upgrade: converts one Kovra3 volume, named by label or UUID,
// to Kovra5 in place.
#ifndef COMMANDS_KOVRA_VOLUME_UPGRADE_H_
#define COMMANDS_KOVRA_VOLUME_UPGRADE_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraVolumeUpgrade : public virtual Command {
 public:
  static std::shared_ptr<KovraVolumeUpgrade> New();
  KovraVolumeUpgrade();
  ~KovraVolumeUpgrade() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // A bool, set to true only when the conversion returned.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_VOLUME_UPGRADE_H_
