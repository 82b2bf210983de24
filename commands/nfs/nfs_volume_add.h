// storage nfs add: adds an NFS v3 share as a new named NAS volume and mounts
// it. The host's strelnic-binding switch lets the server be given together
// with the interface to bind ("host-strelnic"); its preunmount switch makes
// the mount plain and leaves a volume that failed to mount in place.
#ifndef COMMANDS_NFS_NFS_VOLUME_ADD_H_
#define COMMANDS_NFS_NFS_VOLUME_ADD_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class NFSVolumeAdd : public virtual Command {
 public:
  static std::shared_ptr<NFSVolumeAdd> New();
  NFSVolumeAdd();
  ~NFSVolumeAdd() override;

 protected:
  // "host" is required only while the strelnic-binding switch is off;
  // "host-strelnic" exists only while it is on.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True once the volume is added and mounted; otherwise error messages only.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS_NFS_VOLUME_ADD_H_
