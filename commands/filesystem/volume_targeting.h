// How commands name their target Kovra volume or volumes, and the lookups
// behind those parameters.
#ifndef COMMANDS_FILESYSTEM_VOLUME_TARGETING_H_
#define COMMANDS_FILESYSTEM_VOLUME_TARGETING_H_

#include <memory>
#include <vector>

#include "commands/command_support.h"
#include "hostctl/kovra_file_system.h"

namespace TarvexCli {
namespace FileSystem {

using KovraVolumes = std::vector<std::unique_ptr<HostCtl::Storage::KovraFileSystem>>;

// "volume-label" and "volume-uuid", optional strings.
std::shared_ptr<CallSpec::InputSpec> GetSingleKovraVolumeInputSpec();
// "volume-label" and "volume-uuid" as repeatable lists, and "ignore-errors".
std::shared_ptr<CallSpec::InputSpec> GetMultipleKovraVolumesInputSpec();
// The "ignore-errors" flag, for a command's own input spec.
std::shared_ptr<CallSpec::ParameterSpec> IgnoreErrorInputParameter();

// The one volume named by exactly one of "volume-label" and "volume-uuid".
// Returns null after adding exactly one error message to `output`; the
// option checks come before any host access.
std::unique_ptr<HostCtl::Storage::KovraFileSystem> GetSingleKovraVolume(const InputPtr& input,
                                                                        const OutputPtr& output);

// Appends to `volumes` the volumes named by the label list, then the uuid
// list, in the order given; when none is named, `volumes` is replaced by
// every Kovra volume. Missing volumes are reported one message each unless
// "ignore-errors" is set. Returns whether the caller should go on: false
// when a volume was missing or the host failed, always true with
// "ignore-errors".
bool GetMultipleKovraVolumes(const InputPtr& input, const OutputPtr& output, KovraVolumes& volumes);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_VOLUME_TARGETING_H_
