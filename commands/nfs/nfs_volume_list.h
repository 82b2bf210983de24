// storage nfs list: one "NasMount" row per NFS v3 volume the host knows
// (hidden ones left out), or per protocol-endpoint volume with "pe-only".
// With the host's strelnic-binding switch on, rows carry the bound interface.
#ifndef COMMANDS_NFS_NFS_VOLUME_LIST_H_
#define COMMANDS_NFS_NFS_VOLUME_LIST_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class NFSVolumeList : public virtual Command {
 public:
  static std::shared_ptr<NFSVolumeList> New();
  // Reads the strelnic-binding switch for the default column list.
  NFSVolumeList();
  ~NFSVolumeList() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // An empty "NasMount"; "Strelnic" only while the switch is on.
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // The list, also when empty or when unreadable mounts were skipped (each
  // with a message).
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS_NFS_VOLUME_LIST_H_
