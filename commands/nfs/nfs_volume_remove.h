// storage nfs remove: removes an NFS v3 volume by name, telling the host's
// datastore agent before and, when the removal fails, after.
#ifndef COMMANDS_NFS_NFS_VOLUME_REMOVE_H_
#define COMMANDS_NFS_NFS_VOLUME_REMOVE_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class NFSVolumeRemove : public virtual Command {
 public:
  static std::shared_ptr<NFSVolumeRemove> New();
  NFSVolumeRemove();
  ~NFSVolumeRemove() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True when the host removed the volume; otherwise the host's message.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS_NFS_VOLUME_REMOVE_H_
