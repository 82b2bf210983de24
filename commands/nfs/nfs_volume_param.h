// storage nfs param get / set: the tunable parameters (queue depth, transfer
// sizes and, with the host's strelnic-binding switch on, the configured
// interface) of NFS v3 volumes that are not protocol endpoints.
#ifndef COMMANDS_NFS_NFS_VOLUME_PARAM_H_
#define COMMANDS_NFS_NFS_VOLUME_PARAM_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class NFSVolumeParamGet : public virtual Command {
 public:
  static std::shared_ptr<NFSVolumeParamGet> New();
  // Reads the strelnic-binding switch for the default column list.
  NFSVolumeParamGet();
  ~NFSVolumeParamGet() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // An empty "NasMountParams"; "Strelnic" only while the switch is on.
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // Every mount with "all", else the first mount of that name: a list, empty
  // for an unknown name.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

class NFSVolumeParamSet : public virtual Command {
 public:
  static std::shared_ptr<NFSVolumeParamSet> New();
  NFSVolumeParamSet();
  ~NFSVolumeParamSet() override;

 protected:
  // "strelnic" exists only while the strelnic-binding switch is on.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // Sets the queue depth, then the strelnic, on every mount of that name;
  // true also when none matched.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS_NFS_VOLUME_PARAM_H_
