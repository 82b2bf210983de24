// The whole store (the SAN and its hosts) between the store and a HostModel: what `tarvex-host
// init` writes and `tarvex-host dump` reads.
#ifndef HOSTCTL_STORE_MODEL_IO_H_
#define HOSTCTL_STORE_MODEL_IO_H_

#include <cstdint>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// Replaces everything the store holds by `model`: its host gets id 1, its
// others 2, 3, ... in order. The caller holds the write transaction; `model`
// has been checked (a fixture that loaded).
void WriteModel(Db& db, const HostModel& model);
// The whole store: its first host with the SAN, the other hosts in `others`.
HostModel ReadModel(Db& db);

// The slots on a volume, read on their own.
std::vector<HeartbeatRecord> ReadHeartbeats(Db& db, int64_t volume_id);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_MODEL_IO_H_
