// Taking the SAN's devices away from the hosts and giving them back: from
// one host (it can no longer reach the device) or from every host (the
// device is gone from the SAN). A host no longer knows the volumes on a
// device taken from it; it finds them again at a rescan once it is back.
#ifndef HOSTCTL_RULES_DEVICES_H_
#define HOSTCTL_RULES_DEVICES_H_

#include <string>
#include <vector>

namespace HostCtl {
namespace Sim {

// Takes the devices `names` from host `host` ("" for every host), in one
// transaction. Returns what keeps them, one line per host and volume
// ("volume 'NAME' is mounted on host 'HOST'"): while any volume with an
// extent on one is mounted on a host it would be taken from, nothing
// changes. Throws ClusterError for a device the SAN has not, or one already
// taken from that host.
std::vector<std::string> DetachDevices(const std::vector<std::string>& names,
                                       const std::string& host);
// Gives the devices back to host `host` ("" for every host). Throws
// ClusterError for a device the SAN has not, or one the host has already.
void AttachDevices(const std::vector<std::string>& names, const std::string& host);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_DEVICES_H_
