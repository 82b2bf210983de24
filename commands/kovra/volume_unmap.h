// storage kovra unmap: releases the free blocks of one mounted, accessible
// Kovra volume, named by label or UUID, to the storage behind it.
#ifndef COMMANDS_KOVRA_VOLUME_UNMAP_H_
#define COMMANDS_KOVRA_VOLUME_UNMAP_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraVolumeUnmap : public virtual Command {
 public:
  static std::shared_ptr<KovraVolumeUnmap> New();
  KovraVolumeUnmap();
  ~KovraVolumeUnmap() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // A bool, set to true only when the unmap returned.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_VOLUME_UNMAP_H_
