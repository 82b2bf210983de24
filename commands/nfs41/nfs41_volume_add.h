// storage nfs41 add: adds an NFS v4.1 share, served by one or more servers,
// as a new named volume with a security flavour, and mounts it. A volume
// that fails to mount is removed again.
#ifndef COMMANDS_NFS41_NFS41_VOLUME_ADD_H_
#define COMMANDS_NFS41_NFS41_VOLUME_ADD_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class NFS41VolumeAdd : public virtual Command {
 public:
  static std::shared_ptr<NFS41VolumeAdd> New();
  NFS41VolumeAdd();
  ~NFS41VolumeAdd() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // True once the volume is added and mounted; otherwise error messages only.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS41_NFS41_VOLUME_ADD_H_
