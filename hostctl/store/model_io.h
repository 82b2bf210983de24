// A whole host between the store and a HostModel: what `tarvex-host init`
// writes and `tarvex-host dump` reads.
#ifndef HOSTCTL_STORE_MODEL_IO_H_
#define HOSTCTL_STORE_MODEL_IO_H_

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// Replaces everything the store holds by `model`. The caller holds the write
// transaction; `model` has been checked (a fixture that loaded).
void WriteModel(Db& db, const HostModel& model);
HostModel ReadModel(Db& db);

// Parts of the model that are read on their own.
std::vector<FaultRecord> ReadFaults(Db& db);
std::vector<EventRecord> ReadEvents(Db& db);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_MODEL_IO_H_
