// What `tarvex-host` does to the host of this process's store, beyond
// sim.h: initialise it, restart it, arm faults, switch features, read the
// datastore agent's notifications.
#ifndef HOSTCTL_RULES_ADMIN_H_
#define HOSTCTL_RULES_ADMIN_H_

#include <map>
#include <string>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

// Makes the store at the session's path hold `model` (see InitStoreFile).
// False when a store is there and `force` is not given.
bool InitHost(const HostModel& model, bool force);

// A simulated restart of the chosen host (a crash and a boot, see
// cluster.h): non-persistent mounts and unmounts are undone,
// persistent ones kept; a volume mounted from a snapshot for one boot
// becomes that unresolved snapshot again; NAS preunmount states end; queue
// depths not persisted go back. A volume that cannot be mounted stays
// unmounted (and keeps its wish to be mounted, for automount).
void RestartHost();

void AddFault(const FaultRecord& fault);
std::vector<FaultRecord> ListFaults();
void ClearFaults();

std::map<unsigned, bool> ListFeatures();
void SetFeature(unsigned number, bool on);

std::vector<EventRecord> ListEvents();
void ClearEvents();

// The host's name (the fixture's "host").
std::string HostName();

// Chooses the host `name` for this process ("" for the store's only host).
// Throws UnknownHostError for a name the store has no host of.
void ChooseHost(const std::string& name);
// Checks the chosen host now: UnknownHostError when the store has several
// and none was chosen, HostIsDownError when it is down.
void RequireHostUp();
// The name ChooseHost() was given ("" for none).
std::string ChosenHost();

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_ADMIN_H_
