#include "framework/shell/cli.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "cordra/cordra.h"
#include "framework/global_option_spec.h"
#include "framework/help.h"
#include "framework/output_model.h"
#include "framework/parser.h"
#include "framework/render.h"
#include "framework/shell/default_format.h"
#include "framework/shell/dry_run_shell.h"
#include "framework/shell/exit_status.h"
#include "framework/shell/generate.h"
#include "framework/shell/global_options.h"
#include "framework/shell/plugin_loader.h"
#include "framework/shell/walk_path.h"
#include "framework/shell_runner.h"
#include "framework/std_output.h"
#include "framework/suggest.h"
#include "framework/text_escape.h"
#include "framework/value_arena.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/host_names.h"

namespace TarvexShell {

using Cordra::AutoCli::Command;
using Cordra::AutoCli::NamespaceNode;
using Cordra::Frame::UsageError;

namespace {

const char kProgram[] = "tarvexcli";
const char kAgentScript[] = "/usr/lib/tarvex/corvd/bin/notifyDatastore.py";

void PrintError(const std::string& text) { fwrite(text.data(), 1, text.size(), stderr); }

// An error of the shell's own: "tarvexcli: " and one line. (A command's own
// messages are printed as they are, in RunCommand.)
int Fail(int status, const std::string& message) {
  PrintError(std::string(kProgram) + ": " + Cordra::Frame::DisplayText(message) + "\n");
  return status;
}

std::string NodeHelp(NamespaceNode& node, const std::string& path) {
  if (node.IsCommand()) {
    if (auto* command = dynamic_cast<Command*>(&node)) {
      return Cordra::Frame::CommandHelp(*command, kProgram, path, DefaultFormat(*command));
    }
  }
  if (path.empty()) {
    return ShellUsage() + "\n" + Cordra::Frame::ChildrenHelp(node) + "\nRun '" + kProgram +
           " <name> --help' for the help of one of them.\n";
  }
  return Cordra::Frame::NamespaceHelp(node, kProgram, path);
}

// The stand-in agent: <prefix>/<libexecdir>/tarvex/notifyDatastore, or the
// build tree's libexec/.
std::string AgentPath() {
  const std::string name = "/tarvex/notifyDatastore";
  const std::string installed = InstallPrefix() + "/" + TARVEX_INSTALL_LIBEXECDIR + name;
  if (access(installed.c_str(), X_OK) == 0) return installed;
  return InstallPrefix() + "/libexec" + name;
}

// Chooses the store and opens it, so that a bad store is reported before
// anything else reads it. The stand-in agent inherits the choice.
void OpenStore(const std::string& option) {
  const std::string path = HostCtl::Sim::ResolveStorePath(option);
  HostCtl::Sim::SetStorePath(path);
  setenv("TARVEX_HOST_STORE", path.c_str(), 1);
  HostCtl::Sim::OpenStore();
}

// Help reads only the command tree, which any host of a cluster gives: when
// the line names none, the first will do, up or down.
void ChooseHostForHelp() {
  try {
    HostCtl::Sim::HostName();
  } catch (const HostCtl::Sim::UnknownHostError& e) {
    if (!e.name().empty() || e.hosts().empty()) throw;
    HostCtl::Sim::ChooseHost(e.hosts().front());
  }
}

// Holds the last command's output, and so its run's arena, until the next
// run or the process's end: a one-command process then exits without
// freeing a large list first.
void KeepUntilExit(std::shared_ptr<Cordra::CallSpec::Output> output) {
  static auto* kept = new std::shared_ptr<Cordra::CallSpec::Output>;
  *kept = std::move(output);
}

// The same for the command tree: freeing its objects one by one is 1% of a
// short listing's instructions.
void KeepUntilExit(std::shared_ptr<NamespaceNode> tree) {
  static auto* kept = new std::shared_ptr<NamespaceNode>;
  *kept = std::move(tree);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The names of `selected` as the result spells them ("volume name" is
// "Volume Name"), so that output keeps the exact names; a name that matches
// no field, or only ignoring case two fields, stays as typed for the check.
std::vector<std::string> ExactFieldNames(const Cordra::MetaObj::MetaObj& result,
                                         std::vector<std::string> selected) {
  const auto fields = Cordra::Frame::AvailableFields(result);
  for (auto& name : selected) {
    if (std::find(fields.begin(), fields.end(), name) != fields.end()) continue;
    std::vector<std::string> matches;
    for (const auto& field : fields) {
      if (Lower(field) == Lower(name)) matches.push_back(field);
    }
    if (matches.size() == 1) name = matches.front();
  }
  return selected;
}

// Parses, runs and renders one command; returns the exit status.
int RunCommand(Command& command, const std::vector<std::string>& args,
               const GlobalOptions& globals) {
  auto input = Cordra::Frame::ParseArguments(*command.GetInputSpec(), args, GlobalSpec().get());
  auto spec = command.GetOutputSpec();
  // Checked before the run, so that a mistyped field never costs an action.
  std::vector<std::string> fields = globals.fields;
  if (!fields.empty() && spec && spec->GetRootObject()) {
    fields = ExactFieldNames(*spec->GetRootObject(), fields);
    Cordra::Frame::CheckFieldSelection(*spec->GetRootObject(), fields);
  }
  // The run's values live in one arena, current until the result is printed
  // and alive while anything holds one of them.
  Cordra::MetaObj::ValueArena::Scope arena;
  auto output = std::make_shared<Cordra::CallSpec::Output>();
  command.Execute(input, output);

  Cordra::Frame::RenderOptions options;
  options.format = globals.format.empty() ? DefaultFormat(command) : globals.format;
  options.fields = fields;
  options.no_header = globals.no_header;
  {
    Cordra::Frame::TextSink out(stdout);
    Cordra::Frame::Render(output->GetRootObject(), command.GetDefaultOutputParameters(), options,
                          &out);
    out.Flush();
    if (out.error() != 0) TarvexOutput::NoteStdOutputFailure(out.error());
  }
  // One line per message: control characters in a user's text are escaped.
  for (const auto& message : output->GetErrorMessages()) {
    PrintError(Cordra::Frame::DisplayText(message) + "\n");
  }
  const int status = output->GetErrorMessages().empty() ? kExitOk : kExitCommandError;
  KeepUntilExit(std::move(output));
  return status;
}

// `tarvexcli --complete-names KIND [--store PATH]`, run by the bash
// completion at a Tab: the host's names of that kind, one a line, read
// without loading the plug-in or changing the store.
bool IsCompleteNamesMode(const std::vector<std::string>& args) {
  return (args.size() == 2 || (args.size() == 4 && args[2] == "--store")) &&
         args[0] == "--complete-names";
}

int CompleteNames(const std::vector<std::string>& args) {
  const std::string store = HostCtl::Sim::ResolveStorePath(args.size() == 4 ? args[3] : "");
  std::string text;
  for (const auto& name : HostCtl::Sim::HostNames(store, args[1])) text += name + "\n";
  TarvexOutput::WriteStdOutput(text);
  return kExitOk;
}

// Runs one command line; returns the exit status.
int RunArguments(const std::vector<std::string>& args) {
  if (IsGenerateMode(args)) return RunGenerateMode(args);
  if (IsCompleteNamesMode(args)) return CompleteNames(args);
  // Global options may stand anywhere: a command's value never begins with
  // "--" (the parser would take it for an option), so they are told apart
  // without the command tree, which the store (--store) must come before.
  std::vector<std::string> taken, rest;
  for (size_t i = 0; i < args.size();) {
    if (IsGlobalOption(args[i])) {
      TakeGlobalOption(args, &i, &taken);
    } else {
      rest.push_back(args[i++]);
    }
  }
  GlobalOptions globals;
  try {
    globals = ParseGlobalOptions(taken);
  } catch (const UsageError& e) {
    return Fail(kExitUsage, e.what());
  }
  if (globals.version) {
    TarvexOutput::WriteStdOutput(std::string(kProgram) + " " + TARVEX_VERSION + "\n");
    return kExitOk;
  }
  if (globals.dry_run) BeginDryRun(globals.dry_run_json);

  std::shared_ptr<NamespaceNode> root;
  // What the registration and the command read of the store, up to the
  // command's first write, is one read transaction: its locks taken once.
  std::optional<HostCtl::Sim::SharedReads> reads;
  try {
    OpenStore(globals.store);
    reads.emplace();
    const std::string host = HostCtl::Sim::NamedHost(globals.on_host);
    HostCtl::Sim::ChooseHost(host);
    if (globals.help) {
      ChooseHostForHelp();
    } else {
      HostCtl::Sim::RequireHostUp();
    }
    // The datastore agent serves the host the command runs on.
    if (!host.empty()) setenv("TARVEX_HOST", host.c_str(), 1);
    // A dry run shows the line the host's agent would get (dry_run_shell.h).
    if (!DryRunActive()) Cordra::Frame::MapScriptPath(kAgentScript, AgentPath());
    root = BuildCommandTree();
    KeepUntilExit(root);
  } catch (const HostCtl::Sim::UnknownHostError& e) {
    return Fail(kExitUsage, e.name().empty()
                                ? e.what()
                                : Cordra::Frame::UnknownName("host", e.name(), e.hosts()));
  } catch (const HostCtl::Sim::StoreError& e) {
    return Fail(kExitStore, e.what());
  } catch (const std::exception& e) {
    // PluginError, CordraToolException or anything else a registration throws.
    return Fail(kExitPlugin, e.what());
  }

  Walk walk = WalkPath(root, rest);
  if (!walk.error.empty()) return Fail(kExitUsage, walk.error);
  if (globals.help) {
    TarvexOutput::WriteStdOutput(NodeHelp(*walk.node, walk.path));
    return kExitOk;
  }
  auto command = std::dynamic_pointer_cast<Command>(walk.node);
  if (!command) {
    PrintError(NodeHelp(*walk.node, walk.path));
    return kExitUsage;
  }

  try {
    return RunCommand(*command, std::vector<std::string>(rest.begin() + walk.end, rest.end()),
                      globals);
  } catch (const UsageError& e) {
    return Fail(kExitUsage, e.what());
  } catch (const HostCtl::Sim::StoreError& e) {
    return Fail(kExitStore, e.what());
  } catch (const std::exception& e) {
    // A failure the command did not catch (a host-control failure outside its
    // handlers, a shell command that could not start): the command failed.
    return Fail(kExitCommandError, e.what());
  }
}

}  // namespace

int RunCli(const std::vector<std::string>& args) {
  TarvexOutput::GuardStandardDescriptors();
  // A dry run undoes the changes after the output, and lists them.
  const int status = EndDryRun(RunArguments(args));
  // Whatever the command changed on the host stays changed.
  return TarvexOutput::FinishStdOutput() ? status : kExitOutput;
}

}  // namespace TarvexShell
