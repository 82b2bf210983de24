// storage internal nmp boot restore: restores the multipath plug-in's saved
// configuration at boot. Answers true also when the restore failed, next to
// the host's message: boot scripts read the message, not the status.
#ifndef COMMANDS_INTERNAL_BOOT_RESTORE_H_
#define COMMANDS_INTERNAL_BOOT_RESTORE_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace Nmp {

class BootRestore : public virtual Command {
 public:
  static std::shared_ptr<BootRestore> New();
  BootRestore();
  ~BootRestore() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace Nmp
}  // namespace TarvexCli

#endif  // COMMANDS_INTERNAL_BOOT_RESTORE_H_
