// How `kovra upgrade` and `kovra unmap` name their volume: by label or by
// UUID, as typed, and open it through its path under "/kovra/volumes/".
#ifndef COMMANDS_KOVRA_VOLUME_PATH_TARGET_H_
#define COMMANDS_KOVRA_VOLUME_PATH_TARGET_H_

#include <memory>
#include <string>

#include "commands/command_support.h"
#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

struct KovraPathTarget {
  std::string name;  // the UUID or the label, exactly as given
  // Opened from "/kovra/volumes/" + name; null when a check failed.
  std::unique_ptr<StrelCtl::Storage::KovraFileSystemImpl> volume;
};

// Reads "volume-label" and "volume-uuid" and requires exactly one of them,
// naming an existing Kovra volume (the uuid is checked for first). On success
// the volume is opened through its path; otherwise exactly one message has
// been added to `output` and the volume is null. A HostCtlException from the
// lookup or the opening is not caught: the caller reports it.
KovraPathTarget OpenKovraVolumeByPath(const InputPtr& input, const OutputPtr& output);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_VOLUME_PATH_TARGET_H_
