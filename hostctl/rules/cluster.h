// The hosts of a store: making a cluster from one host, listing, adding
// and removing hosts, and crashing and booting one. Every change is one
// write transaction: a host and its heartbeat slots change together.
#ifndef HOSTCTL_RULES_CLUSTER_H_
#define HOSTCTL_RULES_CLUSTER_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "hostctl/store/records.h"

namespace HostCtl {
namespace Sim {

class Db;

struct HostSummary {
  std::string name;
  bool up = true;
  std::string mac;
  int64_t mounted = 0;   // volumes of any type it has mounted
  bool ats_only = true;  // whether it can use ATS-only locking
};

// Why `name` cannot name a host ("" when it can): empty, or with a blank
// or a control character.
std::string HostNameProblem(const std::string& name);

// The cluster `names` make from `base` (a store of one host): the first
// takes the base host's place, MAC address and slots; each other is a copy
// of its own state with a MAC address of its own and a slot on each Kovra
// volume it has mounted. Throws ClusterError for a bad name, a name twice,
// or more hosts than a volume has slots.
HostModel MakeCluster(const HostModel& base, const std::vector<std::string>& names);

// The id of host `name`, inside the caller's transaction. Throws
// UnknownHostError when the store has none.
int64_t HostIdOf(Db& db, const std::string& name);

// The store's hosts, in the order they were made.
std::vector<HostSummary> ListHosts();

// Adds host `name`: it sees the whole SAN and has nothing mounted; its own
// state is the default host's, without NAS volumes, faults or events.
// `ats_only`: whether it can use ATS-only locking.
void AddHost(const std::string& name, bool ats_only = true);
// Removes host `name` with everything of its own. Refused while it is up
// with a Kovra volume mounted; a host that is down goes with its slots.
void RemoveHost(const std::string& name);
// Stops host `name`: its slots stay on the volumes, no longer alive.
void CrashHost(const std::string& name);
// Starts host `name` by the restart rules (see RestartHost), with its slots
// renewed for the volumes it mounts again and given up for the others.
void BootHost(const std::string& name);

// A change to the hosts that cannot be made; what() is one line. Exit 1.
class ClusterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_CLUSTER_H_
