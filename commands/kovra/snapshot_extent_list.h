// storage kovra snapshot extent list: the extents of the unresolved
// snapshots or replicas the target selects, one "KovraSnapshotExtent" row
// per extent.
#ifndef COMMANDS_KOVRA_SNAPSHOT_EXTENT_LIST_H_
#define COMMANDS_KOVRA_SNAPSHOT_EXTENT_LIST_H_

#include <cstdint>
#include <memory>

#include "commands/command_support.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

class KovraSnapshotExtentList : public virtual Command {
 public:
  static std::shared_ptr<KovraSnapshotExtentList> New();
  KovraSnapshotExtentList();
  ~KovraSnapshotExtentList() override;

 protected:
  // "volume-label" and "volume-uuid", both optional, both allowed together.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // Always sets the list as the result. A failure on one extent skips the
  // rest of that volume; a failure in the query, the selection or a
  // volume's extent list stops the listing. Each adds its message and the
  // rows made before it stay.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 private:
  // The row of one extent, numbered `number` within `volume`.
  std::shared_ptr<MetaObj::MetaStruct> ExtentRow(
      StrelCtl::Storage::UnresolvedKovraVolumeImpl& volume, int32_t number,
      StrelCtl::Storage::UnresolvedKovraExtentImpl& extent);
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_SNAPSHOT_EXTENT_LIST_H_
