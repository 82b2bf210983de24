// A Kovra volume's locking mode across the hosts that use it. The volume's
// flags say where it is (0x10 ATS-only) or where it is heading (0x20 an
// upgrade to ATS-only is pending, 0x40 a downgrade); each heartbeat slot
// says what its host uses (bit 4: ATS-only). A change moves the asking
// host's slot at once and completes when no live slot disagrees; each other
// host moves when it unmounts, mounts again, crashes or boots.
#ifndef HOSTCTL_RULES_LOCK_MODES_H_
#define HOSTCTL_RULES_LOCK_MODES_H_

#include <cstdint>
#include <string>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// The bit of a heartbeat slot's mode that says its host uses ATS-only.
constexpr uint8_t kSlotAtsOnly = 4;

// Whether the volume's flags ask its hosts for ATS-only locking: an upgrade
// pending or done, and no downgrade pending.
bool WantsAtsOnly(uint32_t flags);

// The rules of a lock-mode change on `v` asked by its host: `flags` with
// 0x10 set asks for ATS-only, without it for ATS+SCSI; other bits are kept.
// The host's slot moves at once; the volume's flags (written, and set in
// `v.lock_mode`) get 0x20 or 0x40 while a live slot of another host
// disagrees, the final mode otherwise. Throws HostCtlException "Cannot set ATS-only locking on
// volume 'NAME': REASON" for a Kovra-3 volume, a device without ATS, or live hosts that cannot use
// ATS-only and have it mounted (each named).
void ChangeLockMode(Db& db, VolumeRecord& v, uint32_t flags);

// Completes the pending change of volume `volume_id` (of every volume when
// 0) once no live slot disagrees with it. Returns the flags of
// `volume_id` afterwards (0 when it is 0).
uint32_t SettleLockModes(Db& db, int64_t volume_id);

// Why host `host` cannot mount `v` for its locking ("" when it can): a
// volume heading for ATS-only on a host that cannot use it.
std::string LockProblem(Db& db, const VolumeRecord& v);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_LOCK_MODES_H_
