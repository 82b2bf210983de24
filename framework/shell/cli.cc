#include "framework/shell/cli.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "cordra/cordra.h"
#include "framework/help.h"
#include "framework/output_model.h"
#include "framework/parser.h"
#include "framework/render.h"
#include "framework/shell/default_format.h"
#include "framework/shell/exit_status.h"
#include "framework/shell/generate.h"
#include "framework/shell/global_options.h"
#include "framework/shell/plugin_loader.h"
#include "framework/shell_runner.h"
#include "framework/std_output.h"
#include "framework/suggest.h"
#include "framework/text_escape.h"
#include "hostctl/sim.h"

namespace TarvexShell {

using Cordra::AutoCli::Command;
using Cordra::AutoCli::NamespaceNode;
using Cordra::Frame::UsageError;

namespace {

const char kProgram[] = "tarvexcli";
const char kAgentScript[] = "/usr/lib/tarvex/corvd/bin/notifyDatastore.py";

void PrintError(const std::string& text) { fwrite(text.data(), 1, text.size(), stderr); }

int Fail(int status, const std::string& message) {
  PrintError(Cordra::Frame::DisplayText(message) + "\n");
  return status;
}

std::string NodeHelp(NamespaceNode& node, const std::string& path) {
  if (node.IsCommand()) {
    if (auto* command = dynamic_cast<Command*>(&node)) {
      return Cordra::Frame::CommandHelp(*command, kProgram, path);
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

std::string UnknownChild(const NamespaceNode& node, const std::string& path,
                         const std::string& name) {
  std::vector<std::string> names;
  for (const auto& child : node.GetChildren()) names.push_back(child.first);
  std::string message = "Unknown namespace or command '" + Cordra::Frame::DisplayText(name) + "'";
  if (!path.empty()) message += " in '" + path + "'";
  const std::string nearest = Cordra::Frame::NearestName(name, names);
  if (!nearest.empty()) message += ": did you mean '" + nearest + "'?";
  return message;
}

// Where the command path leads: the node, its path as typed, and the index
// of the first argument after it.
struct Walk {
  std::shared_ptr<NamespaceNode> node;
  std::string path;
  size_t end = 0;
  bool help = false;  // --help came within the path
  std::string error;  // a usage error, or ""
};

// Follows names from args[pos] until a command (or the end); "--help" on the
// way is noted, any other option is an error.
Walk WalkPath(const std::shared_ptr<NamespaceNode>& root, const std::vector<std::string>& args,
              size_t pos) {
  Walk walk;
  walk.node = root;
  for (; pos < args.size() && !walk.node->IsCommand(); ++pos) {
    const std::string& arg = args[pos];
    if (arg == "--help") {
      walk.help = true;
      continue;
    }
    if (!arg.empty() && arg[0] == '-') {
      walk.error = "Unexpected option '" + Cordra::Frame::DisplayText(arg) + "'";
      if (!walk.path.empty()) walk.error += " after '" + walk.path + "'";
      walk.error += IsGlobalOption(arg) ? ": global options go before the command path"
                                        : ": expected a namespace or command";
      return walk;
    }
    auto child = walk.node->GetNamespaceNode(arg);
    if (!child) {
      walk.error = UnknownChild(*walk.node, walk.path, arg);
      return walk;
    }
    walk.node = child;
    walk.path += (walk.path.empty() ? "" : " ") + arg;
  }
  walk.end = pos;
  return walk;
}

// Holds the last command's output until the process ends. A list result can
// be millions of small objects, and freeing them one by one just before exit
// costs more than the command did; the pointer keeps them reachable, so leak
// checkers see no leak.
void KeepUntilExit(std::shared_ptr<Cordra::CallSpec::Output> output) {
  static auto* kept = new std::shared_ptr<Cordra::CallSpec::Output>;
  *kept = std::move(output);
}

// Parses, runs and renders one command; returns the exit status.
int RunCommand(Command& command, const std::string& path, const std::vector<std::string>& args,
               const GlobalOptions& globals) {
  for (const auto& arg : args) {
    if (arg == "--help") {
      TarvexOutput::WriteStdOutput(NodeHelp(command, path));
      return kExitOk;
    }
  }
  auto input = Cordra::Frame::ParseArguments(*command.GetInputSpec(), args);
  auto spec = command.GetOutputSpec();
  // Checked before the run, so that a mistyped field never costs an action.
  if (!globals.fields.empty() && spec && spec->GetRootObject()) {
    Cordra::Frame::CheckFieldSelection(*spec->GetRootObject(), globals.fields);
  }
  auto output = std::make_shared<Cordra::CallSpec::Output>();
  command.Execute(input, output);

  Cordra::Frame::RenderOptions options;
  options.format = globals.format.empty() ? DefaultFormat(command) : globals.format;
  options.fields = globals.fields;
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

// Runs one command line; returns the exit status.
int RunArguments(const std::vector<std::string>& args) {
  if (IsGenerateMode(args)) return RunGenerateMode(args);
  GlobalOptions globals;
  size_t pos = 0;
  try {
    pos = ParseGlobalOptions(args, &globals);
  } catch (const UsageError& e) {
    return Fail(kExitUsage, e.what());
  }
  if (globals.version) {
    TarvexOutput::WriteStdOutput(std::string(kProgram) + " " + TARVEX_VERSION + "\n");
    return kExitOk;
  }

  std::shared_ptr<NamespaceNode> root;
  try {
    OpenStore(globals.store);
    Cordra::Frame::MapScriptPath(kAgentScript, AgentPath());
    root = BuildCommandTree();
  } catch (const HostCtl::Sim::StoreError& e) {
    return Fail(kExitStore, e.what());
  } catch (const std::exception& e) {
    // PluginError, CordraToolException or anything else a registration throws.
    return Fail(kExitPlugin, e.what());
  }

  Walk walk = WalkPath(root, args, pos);
  if (!walk.error.empty()) return Fail(kExitUsage, walk.error);
  if (walk.help || globals.help) {
    TarvexOutput::WriteStdOutput(NodeHelp(*walk.node, walk.path));
    return kExitOk;
  }
  auto command = std::dynamic_pointer_cast<Command>(walk.node);
  if (!command) {
    PrintError(NodeHelp(*walk.node, walk.path));
    return kExitUsage;
  }

  try {
    return RunCommand(*command, walk.path,
                      std::vector<std::string>(args.begin() + walk.end, args.end()), globals);
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
  const int status = RunArguments(args);
  // Whatever the command changed on the host stays changed.
  return TarvexOutput::FinishStdOutput() ? status : kExitOutput;
}

}  // namespace TarvexShell
