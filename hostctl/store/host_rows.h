// What belongs to one host of the store alone, between the store and a
// HostModel: its row (name, MAC address, up, counters) and its own parts
// (features, advanced options, strelnics, heaps, faults, events). Its view
// of the volumes and its NAS volumes are volume_rows.h's. The caller holds
// the transaction.
#ifndef HOSTCTL_STORE_HOST_ROWS_H_
#define HOSTCTL_STORE_HOST_ROWS_H_

#include <cstdint>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// Inserts the row of host `id`, and its own parts.
void WriteHostRow(Db& db, int64_t id, const HostModel& m);
void WriteHostParts(Db& db, int64_t id, const HostModel& m);
// The devices host `id` cannot reach (once the devices are written).
void WriteUnreachable(Db& db, int64_t id, const HostModel& m);
// Reads the row of host `id` and its own parts into `m`.
void ReadHostParts(Db& db, int64_t id, HostModel& m);

// Adds `host` with the next id, its row and own parts (not its volumes);
// returns the id.
int64_t AddHostRows(Db& db, const HostModel& host);

// A host's faults and events, read or written on their own.
std::vector<FaultRecord> ReadFaults(Db& db, int64_t host);
std::vector<EventRecord> ReadEvents(Db& db, int64_t host);
void WriteEvent(Db& db, int64_t host, const EventRecord& event);
void WriteFault(Db& db, int64_t host, const FaultRecord& fault);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_HOST_ROWS_H_
