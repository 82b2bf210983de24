// The names a user may type for the objects of a host, for completion: read
// from a store without creating, migrating or writing it.
#ifndef HOSTCTL_STORE_HOST_NAMES_H_
#define HOSTCTL_STORE_HOST_NAMES_H_

#include <string>
#include <vector>

namespace HostCtl {
namespace Sim {

// The names of `kind` on the host kept at `store_path`, in the host's order,
// without repeats. Kinds: "volume-label", "volume-uuid" (every volume),
// "unmounted-label", "unmounted-uuid", "mounted-label", "mounted-uuid",
// "kovra-label", "kovra-uuid", "nfs-name", "nfs41-name", "mount-point",
// "snapshot-label", "snapshot-uuid", "strelnic", "host", "fault-operation",
// "fault-object" (what a fault can name: volumes, snapshots, devices,
// options). A store that does not exist yet answers with the built-in default
// host, which is what its first use would make. Empty for an unknown kind or
// a store that cannot be read as it stands (not ours, another schema version,
// locked): completion offers nothing rather than an error.
std::vector<std::string> HostNames(const std::string& store_path, const std::string& kind);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_HOST_NAMES_H_
