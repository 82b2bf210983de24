// storage nfs preunmountstate enter / exit: moves an NFS v3 volume into or
// out of the host's preunmount state. Registered only on hosts whose
// preunmount switch is on.
#ifndef COMMANDS_NFS_NFS_VOLUME_PREUNMOUNT_H_
#define COMMANDS_NFS_NFS_VOLUME_PREUNMOUNT_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class NFSVolumePreunmountEnter : public Command {
 public:
  static std::shared_ptr<NFSVolumePreunmountEnter> New();
  NFSVolumePreunmountEnter();
  ~NFSVolumePreunmountEnter() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True on success; otherwise "Preunmount Enter failed for <name>: <message>".
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

class NFSVolumePreunmountExit : public Command {
 public:
  static std::shared_ptr<NFSVolumePreunmountExit> New();
  NFSVolumePreunmountExit();
  ~NFSVolumePreunmountExit() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True on success; otherwise "Preunmount Exit failed for <name>: <message>".
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS_NFS_VOLUME_PREUNMOUNT_H_
