// storage nfs41 param get / set: the tunable parameters (queue depth and
// transfer sizes) of NFS v4.1 volumes that are not protocol endpoints.
#ifndef COMMANDS_NFS41_NFS41_VOLUME_PARAM_H_
#define COMMANDS_NFS41_NFS41_VOLUME_PARAM_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class NFS41VolumeParamGet : public virtual Command {
 public:
  static std::shared_ptr<NFS41VolumeParamGet> New();
  NFS41VolumeParamGet();
  ~NFS41VolumeParamGet() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // An empty "NasMountParams".
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // Every mount with "all", else every mount of that name: a list, empty for
  // an unknown name.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

class NFS41VolumeParamSet : public virtual Command {
 public:
  static std::shared_ptr<NFS41VolumeParamSet> New();
  NFS41VolumeParamSet();
  ~NFS41VolumeParamSet() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // Sets the queue depth on every mount of that name; true also when none
  // matched.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS41_NFS41_VOLUME_PARAM_H_
