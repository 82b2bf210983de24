// storage kovra extent list: the extents of every Kovra volume the host
// knows, one "FilesystemKovraExtents" row per extent.
#ifndef COMMANDS_KOVRA_EXTENT_LIST_H_
#define COMMANDS_KOVRA_EXTENT_LIST_H_

#include <memory>

#include "commands/command_support.h"
#include "commands/filesystem/volume_targeting.h"

namespace TarvexCli {
namespace FileSystem {

class KovraExtentList : public virtual Command {
 public:
  static std::shared_ptr<KovraExtentList> New();
  KovraExtentList();
  ~KovraExtentList() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // Sets the list of every volume's extents as the result; a host failure
  // outside one volume leaves no result and its message.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

  // Appends one row per extent of each volume to `list`, numbering each
  // volume's extents from 0. Empty volume slots are skipped. A volume that
  // fails keeps the rows it already gave and is reported (unless
  // `ignore_errors`) with its mount point; a failure to read that mount point
  // leaves this function.
  void UpdateExtentList(const KovraVolumes& volumes, std::shared_ptr<MetaObj::MetaList> list,
                        const OutputPtr& output, char ignore_errors);
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_EXTENT_LIST_H_
