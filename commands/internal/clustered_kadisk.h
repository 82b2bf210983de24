// storage internal clusteredkadisk get / set: clustered Kadisk support of
// one Kovra volume.
#ifndef COMMANDS_INTERNAL_CLUSTERED_KADISK_H_
#define COMMANDS_INTERNAL_CLUSTERED_KADISK_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class ClusteredKadiskGet : public Command {
 public:
  static std::shared_ptr<ClusteredKadiskGet> New();
  ClusteredKadiskGet();
  ~ClusteredKadiskGet() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

class ClusteredKadiskSet : public Command {
 public:
  static std::shared_ptr<ClusteredKadiskSet> New();
  ClusteredKadiskSet();
  ~ClusteredKadiskSet() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_INTERNAL_CLUSTERED_KADISK_H_
