// storage kovra reclaim config get / set: the automatic space-reclamation
// settings of one Kovra volume (granularity, priority, method, bandwidth),
// read and written as one record.
#ifndef COMMANDS_KOVRA_RECLAIM_CONFIG_H_
#define COMMANDS_KOVRA_RECLAIM_CONFIG_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraReclaimConfigGet : public virtual Command {
 public:
  static std::shared_ptr<KovraReclaimConfigGet> New();
  KovraReclaimConfigGet();

 protected:
  // The single-volume targeting parameters.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // One "KovraReclaim" structure.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 public:
  ~KovraReclaimConfigGet() override;
};

class KovraReclaimConfigSet : public virtual Command {
 public:
  static std::shared_ptr<KovraReclaimConfigSet> New();
  KovraReclaimConfigSet();

 protected:
  // The single-volume targeting parameters, then the four settings.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // A bool, set to true once the record was stored.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // Always writes a whole record: what the user leaves out is sent as
  // granularity 0, priority "", method "priority", bandwidth 0, never read
  // back from the volume first.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 public:
  ~KovraReclaimConfigSet() override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_RECLAIM_CONFIG_H_
