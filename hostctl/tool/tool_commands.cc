#include "hostctl/tool/tool_commands.h"

#include <algorithm>
#include <stdexcept>

#include "framework/std_output.h"
#include "framework/suggest.h"
#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/faults.h"
#include "hostctl/rules/sim.h"
#include "hostctl/rules/text_util.h"
#include "hostctl/tool/tool_options.h"

namespace TarvexHost {
namespace {

using HostCtl::Sim::EventRecord;
using HostCtl::Sim::FaultRecord;
using TarvexOutput::WriteStdOutput;

const char kDumpHelp[] =
    "Usage: tarvex-host [--store PATH] dump\n"
    "\n"
    "Prints the store as a fixture: canonical JSON that `init --fixture` takes\n"
    "back. A cluster is its first host with the SAN, and the others under \"hosts\".\n";

const char kRestartHelp[] =
    "Usage: tarvex-host [--store PATH] restart\n"
    "\n"
    "Simulates a restart of the host: mounts and unmounts made for one boot are\n"
    "undone, persistent ones kept; snapshots mounted for one boot become\n"
    "unresolved again; NAS volumes leave the preunmount state; queue depths that\n"
    "were not persisted go back.\n";

const char kFaultHelp[] =
    "Usage: tarvex-host [--store PATH] fault add --operation OP [--object NAME]\n"
    "                                          --message TEXT [--nth N] [--times N]\n"
    "       tarvex-host [--store PATH] fault list\n"
    "       tarvex-host [--store PATH] fault clear\n"
    "\n"
    "add    arms a fault: the host-control operation OP (its C++ name, e.g. Mount,\n"
    "       GetCapacity, RescanKovra) throws with TEXT. --object selects the object\n"
    "       by volume name, label or UUID, snapshot label or UUID, device name or\n"
    "       option name (default: every object). --nth N fires only on the Nth\n"
    "       matching call; --times N fires at most N times (0: no limit). Calls are\n"
    "       counted over every process that uses the store.\n"
    "list   shows the armed faults with their calls and fires so far.\n"
    "clear  removes every fault.\n";

const char kFeatureHelp[] =
    "Usage: tarvex-host [--store PATH] feature list\n"
    "       tarvex-host [--store PATH] feature set N on|off\n"
    "\n"
    "Shows or switches entries of the host's feature table. Storage commands read\n"
    "145 (NAS strelnic binding) and 284 (NAS preunmount).\n";

const char kEventsHelp[] =
    "Usage: tarvex-host [--store PATH] events [--json]\n"
    "       tarvex-host [--store PATH] events --clear\n"
    "\n"
    "Shows what the datastore agent was told, oldest first: the time (UTC), the\n"
    "event and the text it read on standard input, between double quotes with\n"
    "\\n, \\t, \\\\, \\\" and \\xHH escapes. --json prints the exact bytes as a JSON\n"
    "array (\"input\", or \"input_base64\" when the bytes are not UTF-8).\n"
    "--clear removes them all and prints nothing.\n";

}  // namespace

void RequireNoOperands(const Options& options, const std::string& where) {
  if (!options.operands.empty()) {
    throw UsageError(where + ": unexpected argument '" + options.operands.front() + "'");
  }
}

namespace {

int RunDump(const Args& args) {
  RequireNoOperands(ParseOptions(args, {}, "tarvex-host dump"), "tarvex-host dump");
  WriteStdOutput(HostCtl::Sim::DumpHost());
  return 0;
}

int RunRestart(const Args& args) {
  RequireNoOperands(ParseOptions(args, {}, "tarvex-host restart"), "tarvex-host restart");
  HostCtl::Sim::RestartHost();
  return 0;
}

}  // namespace

void PrintTable(const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> widths;
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], row[i].size());
    }
  }
  for (const auto& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
    }
    WriteStdOutput(line + "\n");
  }
}

namespace {

int RunFault(const Args& args) {
  const std::string where = "tarvex-host fault";
  if (args.empty()) throw UsageError(where + ": expected add, list or clear");
  Args rest(args.begin() + 1, args.end());
  const std::string& action = args.front();
  if (action == "add") {
    Options options = ParseOptions(
        rest,
        {{"operation", true}, {"object", true}, {"message", true}, {"nth", true}, {"times", true}},
        where + " add");
    RequireNoOperands(options, where + " add");
    if (!options.Has("operation")) throw UsageError(where + " add: --operation is required");
    if (!options.Has("message")) throw UsageError(where + " add: --message is required");
    FaultRecord fault;
    fault.operation = options.Get("operation");
    if (!HostCtl::Sim::IsOperationName(fault.operation)) {
      const auto names =
          Cordra::Frame::SuggestedNames(fault.operation, HostCtl::Sim::OperationNames());
      throw UsageError(where + " add: unknown operation '" + fault.operation + "'" +
                       (names.empty() ? " (an operation's C++ name, e.g. Mount or GetCapacity)"
                                      : Cordra::Frame::DidYouMean(names, "")));
    }
    fault.object = options.Get("object");
    fault.message = options.Get("message");
    fault.nth = ParseCount(options.Get("nth", "0"), "--nth", where + " add");
    fault.times = ParseCount(options.Get("times", "0"), "--times", where + " add");
    HostCtl::Sim::AddFault(fault);
    return 0;
  }
  RequireNoOperands(ParseOptions(rest, {}, where + " " + action), where + " " + action);
  if (action == "list") {
    std::vector<FaultRecord> faults = HostCtl::Sim::ListFaults();
    if (faults.empty()) {
      WriteStdOutput("No faults are armed.\n");
      return 0;
    }
    std::vector<std::vector<std::string>> rows = {
        {"OPERATION", "OBJECT", "NTH", "TIMES", "CALLS", "FIRED", "MESSAGE"}};
    for (const FaultRecord& f : faults) {
      rows.push_back({f.operation, f.object.empty() ? "*" : f.object, std::to_string(f.nth),
                      std::to_string(f.times), std::to_string(f.calls), std::to_string(f.fired),
                      f.message});
    }
    PrintTable(rows);
    return 0;
  }
  if (action == "clear") {
    HostCtl::Sim::ClearFaults();
    return 0;
  }
  throw UsageError(where + ": unknown action '" + action + "' (expected add, list or clear)");
}

int RunFeature(const Args& args) {
  const std::string where = "tarvex-host feature";
  if (args.empty()) throw UsageError(where + ": expected list or set");
  Options options = ParseOptions(Args(args.begin() + 1, args.end()), {}, where);
  const std::vector<std::string>& operands = options.operands;
  if (args.front() == "list") {
    RequireNoOperands(options, where + " list");
    std::map<unsigned, bool> features = HostCtl::Sim::ListFeatures();
    features.emplace(145, false);
    features.emplace(284, false);
    std::vector<std::vector<std::string>> rows = {{"NUMBER", "STATE", "FEATURE"}};
    for (const auto& f : features) {
      const char* name = f.first == 145   ? "NAS strelnic binding"
                         : f.first == 284 ? "NAS preunmount"
                                          : "";
      rows.push_back({std::to_string(f.first), f.second ? "on" : "off", name});
    }
    PrintTable(rows);
    return 0;
  }
  if (args.front() == "set") {
    if (operands.size() != 2 || (operands[1] != "on" && operands[1] != "off")) {
      throw UsageError(where + " set: expected a feature number and on or off");
    }
    int64_t number = ParseCount(operands[0], "the feature number", where + " set");
    if (number > 4294967295) throw UsageError(where + " set: feature number too large");
    HostCtl::Sim::SetFeature(static_cast<unsigned>(number), operands[1] == "on");
    return 0;
  }
  throw UsageError(where + ": unknown action '" + args.front() + "' (expected list or set)");
}

int RunEvents(const Args& args) {
  const std::string where = "tarvex-host events";
  Options options = ParseOptions(args, {{"clear", false}, {"json", false}}, where);
  RequireNoOperands(options, where);
  if (options.Has("clear")) {
    if (options.Has("json")) throw UsageError(where + ": --clear prints nothing, drop --json");
    HostCtl::Sim::ClearEvents();
    return 0;
  }
  std::vector<EventRecord> events = HostCtl::Sim::ListEvents();
  if (options.Has("json")) {
    WriteStdOutput(HostCtl::Sim::DumpEventsJson(events));
    return 0;
  }
  for (const EventRecord& e : events) {
    WriteStdOutput(e.time + "  " + e.event + "  " + HostCtl::Sim::EscapeForDisplay(e.input) + "\n");
  }
  return 0;
}

}  // namespace

const std::vector<Subcommand>& Subcommands() {
  static const std::vector<Subcommand> all = {
      {"init", "create the store from the default host or a fixture", kInitHelp, RunInit},
      {"dump", "print the host, or the cluster, as a fixture (JSON)", kDumpHelp, RunDump},
      {"restart", "simulate a restart of the host (a crash and a boot)", kRestartHelp, RunRestart},
      {"fault", "arm, list or clear injected faults", kFaultHelp, RunFault},
      {"feature", "list or switch feature-table entries", kFeatureHelp, RunFeature},
      {"events", "show or clear the datastore agent's notifications", kEventsHelp, RunEvents},
      {"host", "list, add, remove, crash or boot the hosts of a cluster", kHostHelp, RunHost},
      {"device", "take devices from the hosts, or give them back", kDeviceHelp, RunDevice},
  };
  return all;
}

}  // namespace TarvexHost
