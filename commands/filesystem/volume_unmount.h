// storage filesystem unmount: unmounts one volume by label, path or UUID, or
// every mounted Kovra volume, telling the datastore agent around each unmount.
#ifndef COMMANDS_FILESYSTEM_VOLUME_UNMOUNT_H_
#define COMMANDS_FILESYSTEM_VOLUME_UNMOUNT_H_

#include <memory>
#include <string>

#include "commands/command_support.h"

namespace StrelCtl {
namespace Storage {
class StorageInfoImpl;
}
}  // namespace StrelCtl

namespace TarvexCli {
namespace FileSystem {

class VolumeUnmount : public virtual Command {
 public:
  static std::shared_ptr<VolumeUnmount> New();
  VolumeUnmount();
  ~VolumeUnmount() override;

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 private:
  // Unmounts every mounted Kovra volume; true as the result even when some
  // were busy or failed (their messages say so).
  void UnmountAllKovra(StrelCtl::Storage::StorageInfoImpl& storage, int option,
                       const OutputPtr& output);
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_VOLUME_UNMOUNT_H_
