#include "commands/filesystem/per_volume.h"

#include <string>

namespace TarvexCli {
namespace FileSystem {

void ReportSkippedVolume(HostCtl::Storage::FileSystem& volume,
                         const HostCtl::Lib::HostCtlException& failure, const OutputPtr& output) {
  output->AddErrorMessage("Error getting data for filesystem on '" + volume.GetMountPoint() +
                          "': " + failure.what() + ", skipping.");
}

}  // namespace FileSystem
}  // namespace TarvexCli
