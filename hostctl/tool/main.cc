// tarvex-host: the tool of the simulated host. See --help.
#include <cerrno>
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "framework/std_output.h"
#include "framework/suggest.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/dry_run.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/host_names.h"
#include "hostctl/tool/tool_commands.h"
#include "hostctl/tool/tool_help.h"
#include "hostctl/tool/tool_options.h"

namespace {

// --dry-run, or --dry-run=json (`json`): see hostctl/rules/dry_run.h.
struct DryRunOption {
  bool given = false;
  bool json = false;
};
DryRunOption dry_run;

int Run(std::vector<std::string> args) {
  using TarvexHost::UsageError;
  using TarvexOutput::WriteStdOutput;
  // --store and --on-host may stand anywhere; the rest belongs to the command.
  std::map<std::string, std::string> globals;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--dry-run" || arg.compare(0, 10, "--dry-run=") == 0) {
      if (dry_run.given) throw UsageError("tarvex-host: option '--dry-run' given twice");
      if (arg.size() > 9 && arg != "--dry-run=json") {
        throw UsageError("tarvex-host: option '--dry-run' takes json or no value");
      }
      dry_run = {true, arg.size() > 9};
      continue;
    }
    std::string name;
    for (const char* global : {"store", "on-host"}) {
      const std::string option = std::string("--") + global;
      if (arg == option || arg.compare(0, option.size() + 1, option + "=") == 0) name = global;
    }
    if (name.empty()) {
      rest.push_back(arg);
      continue;
    }
    const std::string where = "tarvex-host: option '--" + name + "'";
    if (globals.count(name)) throw UsageError(where + " given twice");
    std::string& value = globals[name];
    if (arg.size() > name.size() + 2) {
      value = arg.substr(name.size() + 3);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw UsageError(where + " needs a value");
    }
    if (value.empty())
      throw UsageError(where + (name == "store" ? " needs a path" : " needs a name"));
  }
  const std::string store = globals["store"];
  if (rest.empty()) throw UsageError("tarvex-host: a command is required (see --help)");
  const std::string& first = rest.front();
  if (first == "--help" || first == "-h") {
    WriteStdOutput(TarvexHost::Usage());
    return 0;
  }
  // For packagers: the manual page, tarvex-host(1).
  if (first == "--generate-reference" && rest.size() == 2 && rest[1] == "man") {
    WriteStdOutput(TarvexHost::ManualPage(TARVEX_VERSION));
    return 0;
  }
  if (first == "--version") {
    WriteStdOutput(std::string("tarvex-host ") + TARVEX_VERSION + "\n");
    return 0;
  }
  // For the bash completion: the names of one kind, read without changing
  // the store (see hostctl/store/host_names.h).
  if (first == "--complete-names" && rest.size() == 2) {
    for (const auto& name :
         HostCtl::Sim::HostNames(HostCtl::Sim::ResolveStorePath(store), rest[1])) {
      WriteStdOutput(name + "\n");
    }
    return 0;
  }
  for (const TarvexHost::Subcommand& command : TarvexHost::Subcommands()) {
    if (first != command.name) continue;
    std::vector<std::string> command_args(rest.begin() + 1, rest.end());
    for (const std::string& arg : command_args) {
      if (arg == "--help" || arg == "-h") {
        WriteStdOutput(command.help);
        return 0;
      }
    }
    HostCtl::Sim::SetStorePath(HostCtl::Sim::ResolveStorePath(store));
    // Every command but init concerns one host; init makes the store.
    if (first == "init") {
      if (globals.count("on-host")) {
        throw UsageError(
            "tarvex-host init: option '--on-host' does not apply: init makes the store");
      }
      if (dry_run.given) {
        throw UsageError(
            "tarvex-host init: option '--dry-run' does not apply: init makes the store");
      }
    } else {
      HostCtl::Sim::ChooseHost(HostCtl::Sim::NamedHost(globals["on-host"]));
      if (dry_run.given) HostCtl::Sim::StartDryRun();
    }
    return command.run(command_args);
  }
  if (first.compare(0, 1, "-") == 0)
    throw UsageError("tarvex-host: unknown option '" + first + "'");
  throw UsageError("tarvex-host: unknown command '" + first + "' (see --help)");
}

// Prints an error as one line: "tarvex-host: " in front unless the message
// begins with the program's name already (`named`: a usage error, which
// names the subcommand too), and control characters of a user's text
// escaped.
int Report(const std::string& message, int status, bool named = false) {
  std::string line = named ? "" : "tarvex-host: ";
  for (char c : message) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\t') {
      line += "\\t";
    } else if (u < 0x20 || u == 0x7f) {
      static const char kHex[] = "0123456789abcdef";
      line += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
    } else {
      line += c;
    }
  }
  std::cerr << line << "\n";
  return status;
}

// Runs the command line; returns the exit status.
int RunCatching(std::vector<std::string> args) {
  try {
    return Run(std::move(args));
  } catch (const TarvexHost::UsageError& e) {
    return Report(e.what(), 2, true);
  } catch (const HostCtl::Sim::UnknownHostError& e) {
    return Report(
        e.name().empty() ? e.what() : Cordra::Frame::UnknownName("host", e.name(), e.hosts()), 2);
  } catch (const HostCtl::Sim::StoreError& e) {
    return Report(e.what(), 3);
  } catch (const std::exception& e) {
    // A fixture refused, the tool's own refusals, a cluster rule, the
    // library's errors: the command failed.
    return Report(e.what(), 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  TarvexOutput::GuardStandardDescriptors();
  int status = RunCatching(std::vector<std::string>(argv + 1, argv + argc));
  // A dry run lists what it undid after the output (the agent never runs here).
  if (dry_run.given) {
    try {
      std::vector<HostCtl::Sim::ObjectChange> changes;
      // A usage error ran nothing, so it lists nothing.
      if (HostCtl::Sim::FinishDryRun(&changes) && status != 2) {
        // After the output, also when both go to one file.
        if (fflush(stdout) != 0) TarvexOutput::NoteStdOutputFailure(errno);
        std::cerr << HostCtl::Sim::DryRunReport(changes, {}, dry_run.json);
      }
    } catch (const HostCtl::Sim::StoreError& e) {
      status = Report(e.what(), 3);
    }
  }
  // A command that changed the host before its output failed still did.
  return TarvexOutput::FinishStdOutput() ? status : TarvexOutput::kExitOutput;
}
