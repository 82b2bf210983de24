// Unresolved snapshots across the hosts of a cluster. A snapshot is the
// SAN's. A mount that keeps its signature makes one volume on the SAN (the
// snapshot's volume) and is each host's own: the snapshot stays listed on
// every host that has not mounted that volume, and a host that mounts it
// later joins the same volume. A resignature is done once for the SAN.
#ifndef HOSTCTL_RULES_SNAPSHOTS_H_
#define HOSTCTL_RULES_SNAPSHOTS_H_

#include <cstdint>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// Why host `host` cannot mount `s` with its signature because of what the
// cluster has mounted (0 when nothing stands in the way): 6 "the original
// volume is still online" while a live host has mounted a volume of its
// UUID other than the snapshot's volume; 5 "the volume is being actively
// used" while another live host has mounted the snapshot's volume.
uint32_t SnapshotMountConflict(Db& db, const SnapshotRecord& s, int64_t host);
// Why `s` cannot be resignatured now (0 when it can): 5 while any host,
// live or down, holds the snapshot's volume mounted.
uint32_t SnapshotResignatureConflict(Db& db, const SnapshotRecord& s);

// Whether volume `volume_id` is a snapshot's volume: hosts reach it through
// the snapshot, never by a rescan.
bool IsSnapshotVolume(Db& db, int64_t volume_id);

// At host `host`'s boot: its mounts of snapshots' volumes made for one boot
// are forgotten (view undiscovered, slot given back); a snapshot's volume
// no host holds any more goes, and its snapshot is unresolved again.
void UndoSnapshotMounts(Db& db, int64_t host);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_SNAPSHOTS_H_
