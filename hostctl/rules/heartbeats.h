// A host's heartbeat slots on the SAN's Kovra volumes follow its mounts: a
// mount takes a free slot, an unmount gives it back, a crash leaves the
// slots without life, a boot renews those of the volumes mounted again. A
// slot is a host's when it carries the host's MAC address. A host without
// one (a store made before hosts had one) leaves the slots as they are, and
// so do the slots of hosts outside the simulation.
#ifndef HOSTCTL_RULES_HEARTBEATS_H_
#define HOSTCTL_RULES_HEARTBEATS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// Slots in a volume's heartbeat region, and where they lie.
constexpr int kHeartbeatSlots = 64;
constexpr int64_t kFirstSlotOffset = 3145728;
constexpr int64_t kSlotSize = 4096;

// The MAC address of host `host` ("" when it has none).
std::string HostMac(Db& db, int64_t host);

// A new slot for the host of MAC address `mac` on `v`, beside `slots`: the
// free slot of the lowest offset, the driver of the volume's version, the
// locking the volume's flags ask for. nullopt when every slot is taken.
std::optional<HeartbeatRecord> NewSlot(const VolumeRecord& v, const std::string& mac,
                                       const std::vector<HeartbeatRecord>& slots);

// Gives the host of `v` (a Kovra volume it mounts) a live slot: its own
// slot made alive again, or the free slot of the lowest offset, with the
// locking the volume is heading for. Throws HostCtlException "Cannot mount
// volume 'NAME': no free heartbeat slot" when all are taken.
void TakeSlot(Db& db, VolumeRecord& v);
// Removes the slot of the host of `v` from the volume.
// Both settle a pending lock-mode change the slot completes (lock_modes.h)
// and set `v.lock_mode` to the volume's flags afterwards.
void ReleaseSlot(Db& db, VolumeRecord& v);
// Every slot of host `host`: alive or not (a crash), or removed; then the
// pending lock-mode changes that completes.
void SetSlotsAlive(Db& db, int64_t host, bool alive);
void RemoveSlots(Db& db, int64_t host);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_HEARTBEATS_H_
