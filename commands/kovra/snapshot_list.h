// storage kovra snapshot list: the unresolved snapshots and replicas the
// target selects, one "KovraSnapshot" record each, with whether and why not
// each can be mounted or resignatured.
#ifndef COMMANDS_KOVRA_SNAPSHOT_LIST_H_
#define COMMANDS_KOVRA_SNAPSHOT_LIST_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraSnapshotList : public virtual Command {
 public:
  static std::shared_ptr<KovraSnapshotList> New();
  KovraSnapshotList();
  ~KovraSnapshotList() override;

 protected:
  // "volume-label" and "volume-uuid", both optional, both allowed together.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // Always sets the list as the result: a host failure stops the listing,
  // adds its message and keeps the records made before it.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_SNAPSHOT_LIST_H_
