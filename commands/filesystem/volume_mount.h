// storage filesystem mount: mounts a known, unmounted volume by label or
// UUID, persistently or until the next restart.
#ifndef COMMANDS_FILESYSTEM_VOLUME_MOUNT_H_
#define COMMANDS_FILESYSTEM_VOLUME_MOUNT_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class VolumeMount : public virtual Command {
 public:
  static std::shared_ptr<VolumeMount> New();
  VolumeMount();
  ~VolumeMount() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_VOLUME_MOUNT_H_
