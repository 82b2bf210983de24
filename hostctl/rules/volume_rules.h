// What the host decides about a volume, in one place for every operation
// that needs it: whether it can be mounted, what a mount and an unmount do
// to its persistent state, whether it is accessible or mounted read-only.
#ifndef HOSTCTL_RULES_VOLUME_RULES_H_
#define HOSTCTL_RULES_VOLUME_RULES_H_

#include <optional>
#include <string>
#include <string_view>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// A volume's path: "/kovra/volumes/" followed by its label or UUID.
std::string VolumePath(std::string_view label_or_uuid);
// True when `path` is VolumePath(label_or_uuid).
bool IsVolumePath(std::string_view path, std::string_view label_or_uuid);
// What `path` names under "/kovra/volumes/": the part up to the next '/'
// (empty for the directory itself), or nullopt for a path elsewhere.
std::optional<std::string> VolumePathKey(const std::string& path);

// Why the host cannot mount `v` now, or "" when it can.
std::string MountProblem(Db& db, VolumeRecord& v);

// Mounts `v`, a row read inside the caller's write transaction, and saves
// it. Option 0 and 4 (retry) are persistent, 1 lasts until the next restart.
// A persistent mount of a volume mounted from a snapshot resolves that
// snapshot for good. Throws HostCtlException naming the volume and the reason.
void ApplyMount(Db& db, VolumeRecord& v, int option);

// Unmounts `v` like ApplyMount mounts it. Returns 1 when the volume is busy
// and stays mounted, else 0. Option 0 is an explicit unmount (it stays
// unmounted after a restart), 1 lasts until the next restart.
int ApplyUnmount(Db& db, VolumeRecord& v, int option);

// The storage behind the volume answers: the volume's flag, and every extent
// attached (Kovra) or some server reachable (NAS).
bool VolumeAccessible(Db& db, VolumeRecord& v);
// A NAS volume mounted from an export its server serves read-only.
bool ExportReadOnly(Db& db, VolumeRecord& v);

// True when the host has some volume (of any type, discovered or not) named
// `name`, or another host has a SAN volume of that name.
bool VolumeNameTaken(Db& db, const std::string& name);
// True when some volume has UUID `uuid`.
bool VolumeUuidTaken(Db& db, const std::string& uuid);

// True when the host has a network interface (strelnic) named `name`.
bool HostHasStrelnic(Db& db, const std::string& name);

// New identifiers in the forms the host shows: a Kovra UUID
// "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3", and a NAS volume's "a0b1c2d3-e4f5a6b7".
std::string NewKovraUuid();
std::string NewNasUuid();
// 8 random hex digits.
std::string RandomHex(int digits);

// "Cannot <action> volume '<name>': <reason>", thrown as HostCtlException.
[[noreturn]] void Refuse(const std::string& action, const std::string& kind,
                         const std::string& name, const std::string& reason);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_VOLUME_RULES_H_
