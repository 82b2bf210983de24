// storage kovra lockmode set: switches one Kovra volume to ATS-only locking,
// or back to ATS+SCSI.
#ifndef COMMANDS_KOVRA_LOCKMODE_SET_H_
#define COMMANDS_KOVRA_LOCKMODE_SET_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraVolumeLockModeSet : public virtual Command {
 public:
  static std::shared_ptr<KovraVolumeLockModeSet> New();
  KovraVolumeLockModeSet();
  ~KovraVolumeLockModeSet() override;

 protected:
  // The single-volume targeting parameters, then the flags "ats" and "scsi".
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // A bool, true once the volume has the requested mode.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // Changes only the ATS-only flag (0x10) and writes nothing when the volume
  // already has the requested mode; the other flags go back as they were read.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_LOCKMODE_SET_H_
