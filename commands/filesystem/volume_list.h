// storage filesystem list: every volume the host knows, or the one with a
// given UUID, one "FilesystemVolume" row each.
#ifndef COMMANDS_FILESYSTEM_VOLUME_LIST_H_
#define COMMANDS_FILESYSTEM_VOLUME_LIST_H_

#include <memory>
#include <vector>

#include "commands/command_support.h"
#include "hostctl/file_system.h"

namespace TarvexCli {
namespace FileSystem {

class VolumeList : public virtual Command {
 public:
  static std::shared_ptr<VolumeList> New();
  VolumeList();
  ~VolumeList() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

  // Adds one row per volume to `list`; a volume that cannot be read is left
  // out, with a message unless `ignore_errors`.
  void UpdateFileSystemList(
      const std::vector<std::unique_ptr<HostCtl::Storage::FileSystem>>& volumes,
      std::shared_ptr<MetaObj::MetaList> list, const OutputPtr& output, char ignore_errors);
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_VOLUME_LIST_H_
