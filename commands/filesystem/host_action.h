// Commands that ask the host for one storage-wide operation and report only
// whether it worked.
#ifndef COMMANDS_FILESYSTEM_HOST_ACTION_H_
#define COMMANDS_FILESYSTEM_HOST_ACTION_H_

#include <memory>

#include "commands/command_support.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

class HostActionCommand : public virtual Command {
 public:
  using Action = void (StrelCtl::Storage::StorageInfoImpl::*)();
  ~HostActionCommand() override;

 protected:
  HostActionCommand(const char* description, Action action);

  // No parameters; the result is a bool.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True when the operation returned; otherwise the host's message.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 private:
  Action action_;
};

// storage filesystem rescan
class VolumeRescan : public HostActionCommand {
 public:
  static std::shared_ptr<VolumeRescan> New();
  VolumeRescan();
  ~VolumeRescan() override;
};

// storage filesystem automount
class VolumeAutomount : public HostActionCommand {
 public:
  static std::shared_ptr<VolumeAutomount> New();
  VolumeAutomount();
  ~VolumeAutomount() override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_HOST_ACTION_H_
