// The per-volume loop that `filesystem list`, `kovra extent list` and
// `kovra lockmode list` share: a volume that cannot be read is skipped, with
// a message naming its mount point unless errors are ignored.
#ifndef COMMANDS_FILESYSTEM_PER_VOLUME_H_
#define COMMANDS_FILESYSTEM_PER_VOLUME_H_

#include <memory>
#include <vector>

#include "commands/command_support.h"
#include "hostctl/file_system.h"
#include "hostctl/lib.h"

namespace TarvexCli {
namespace FileSystem {

// Adds "Error getting data for filesystem on '<mount point>': <message>,
// skipping." for `volume`. Asks the volume for its mount point again, which
// may throw HostCtlException: that one is the caller's to report.
void ReportSkippedVolume(HostCtl::Storage::FileSystem& volume,
                         const HostCtl::Lib::HostCtlException& failure, const OutputPtr& output);

// Calls `add_rows(volume)` for each volume in order; empty slots are passed
// over. When it throws HostCtlException, the rows it added before stay, the
// volume is reported (unless `ignore_errors`) and the loop goes on. Any other
// exception, and one from reading the mount point for the message, leaves
// this function.
template <class Volume, class AddRows>
void ForEachVolumeSkippingFailures(const std::vector<std::unique_ptr<Volume>>& volumes,
                                   bool ignore_errors, const OutputPtr& output, AddRows add_rows) {
  for (const auto& volume : volumes) {
    if (!volume) continue;
    try {
      add_rows(*volume);
    } catch (const HostCtl::Lib::HostCtlException& e) {
      if (!ignore_errors) ReportSkippedVolume(*volume, e, output);
    }
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_PER_VOLUME_H_
