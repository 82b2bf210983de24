// `tarvex-host host` and `device`: the hosts of the store and the devices
// they reach.
#include <algorithm>
#include <iostream>

#include "framework/std_output.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/cluster.h"
#include "hostctl/rules/devices.h"
#include "hostctl/tool/tool_commands.h"
#include "hostctl/tool/tool_options.h"

namespace TarvexHost {

const char kHostHelp[] =
    "Usage: tarvex-host [--store PATH] host list\n"
    "       tarvex-host [--store PATH] host add [--no-ats-only] NAME\n"
    "       tarvex-host [--store PATH] host remove NAME\n"
    "       tarvex-host [--store PATH] host crash NAME\n"
    "       tarvex-host [--store PATH] host boot NAME\n"
    "\n"
    "list    shows each host: its name, up or down, its MAC address, how many\n"
    "        volumes it has mounted and whether it can use ATS-only locking.\n"
    "add     adds a host that sees the whole SAN and has nothing mounted. With\n"
    "        --no-ats-only it cannot use ATS-only locking: it cannot mount a\n"
    "        volume that uses it, and no volume it has mounted can switch to it.\n"
    "remove  removes a host with everything of its own. Refused while it is up\n"
    "        with a Kovra volume mounted; a host that is down goes with its\n"
    "        heartbeat slots.\n"
    "crash   stops a host: its heartbeat slots stay on the volumes but are no\n"
    "        longer alive, and commands on it fail until it boots.\n"
    "boot    starts a host that is down, by the rules of `restart`; its slots are\n"
    "        renewed for the volumes it mounts again.\n";

int RunHost(const Args& args) {
  const std::string where = "tarvex-host host";
  if (args.empty()) throw UsageError(where + ": expected list, add, remove, crash or boot");
  const std::string& action = args.front();
  Options options = ParseOptions(Args(args.begin() + 1, args.end()), {{"no-ats-only", false}},
                                 where + " " + action);
  const std::vector<std::string>& operands = options.operands;
  if (options.Has("no-ats-only") && action != "add") {
    throw UsageError(where + " " + action + ": unknown option '--no-ats-only'");
  }
  if (action == "list") {
    if (!operands.empty()) {
      throw UsageError(where + " list: unexpected argument '" + operands.front() + "'");
    }
    std::vector<std::vector<std::string>> rows = {{"NAME", "STATE", "MAC", "MOUNTED", "ATS-ONLY"}};
    for (const HostCtl::Sim::HostSummary& host : HostCtl::Sim::ListHosts()) {
      rows.push_back({host.name, host.up ? "up" : "down", host.mac.empty() ? "-" : host.mac,
                      std::to_string(host.mounted), host.ats_only ? "yes" : "no"});
    }
    PrintTable(rows);
    return 0;
  }
  using Change = void (*)(const std::string&);
  const struct {
    const char* action;
    Change change;
  } kChanges[] = {
      {"add", [](const std::string& name) { HostCtl::Sim::AddHost(name, true); }},
      {"add --no-ats-only", [](const std::string& name) { HostCtl::Sim::AddHost(name, false); }},
      {"remove", HostCtl::Sim::RemoveHost},
      {"crash", HostCtl::Sim::CrashHost},
      {"boot", HostCtl::Sim::BootHost},
  };
  const std::string asked = action + (options.Has("no-ats-only") ? " --no-ats-only" : "");
  for (const auto& change : kChanges) {
    if (asked != change.action) continue;
    if (operands.size() != 1) throw UsageError(where + " " + action + ": expected one host name");
    change.change(operands.front());
    return 0;
  }
  throw UsageError(where + ": unknown action '" + action +
                   "' (expected list, add, remove, crash or boot)");
}

const char kDeviceHelp[] =
    "Usage: tarvex-host [--store PATH] [--on-host NAME] device detach DEVICE...\n"
    "       tarvex-host [--store PATH] [--on-host NAME] device attach DEVICE...\n"
    "\n"
    "detach  takes the devices from the host that --on-host (or TARVEX_HOST)\n"
    "        names, or from every host: the host no longer reaches them and\n"
    "        forgets the volumes on them. Refused while a volume with an extent\n"
    "        on one is mounted on a host it would be taken from: each such host\n"
    "        and volume is named, one line each (exit 1).\n"
    "attach  gives them back; the host finds their volumes at its next rescan.\n";

int RunDevice(const Args& args) {
  const std::string where = "tarvex-host device";
  if (args.empty()) throw UsageError(where + ": expected detach or attach");
  const std::string& action = args.front();
  if (action != "detach" && action != "attach") {
    throw UsageError(where + ": unknown action '" + action + "' (expected detach or attach)");
  }
  Options options = ParseOptions(Args(args.begin() + 1, args.end()), {}, where + " " + action);
  const std::vector<std::string>& names = options.operands;
  if (names.empty()) throw UsageError(where + " " + action + ": expected a device name");
  for (size_t i = 0; i < names.size(); ++i) {
    if (std::find(names.begin(), names.begin() + i, names[i]) != names.begin() + i) {
      throw UsageError(where + " " + action + ": device '" + names[i] + "' is named twice");
    }
  }
  const std::string host = HostCtl::Sim::ChosenHost();
  if (action == "attach") {
    HostCtl::Sim::AttachDevices(names, host);
    return 0;
  }
  const std::vector<std::string> keep = HostCtl::Sim::DetachDevices(names, host);
  for (const std::string& line : keep) std::cerr << "tarvex-host: " << line << "\n";
  return keep.empty() ? 0 : 1;
}

}  // namespace TarvexHost
