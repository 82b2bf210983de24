#include "framework/shell/generate.h"

#include <cstdio>
#include <exception>

#include "framework/global_option_spec.h"
#include "framework/shell/completion.h"
#include "framework/shell/exit_status.h"
#include "framework/shell/manual.h"
#include "framework/shell/plugin_loader.h"
#include "framework/shell/reference.h"
#include "framework/shell/tree_walk.h"
#include "framework/std_output.h"
#include "hostctl/lib.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"

namespace TarvexShell {

namespace {

struct Mode {
  const char* option;
  const char* format;
  std::string (*generate)(const std::vector<TreeEntry>& tree);
};

std::string Completion(const std::vector<TreeEntry>& tree) {
  return BashCompletion(tree, *Cordra::Frame::GlobalOptionSpec());
}

std::string Manual(const std::vector<TreeEntry>& tree) { return ManualPage(tree, TARVEX_VERSION); }

const Mode kModes[] = {
    {"--generate-completion", "bash", Completion},
    {"--generate-reference", "markdown", MarkdownReference},
    {"--generate-reference", "man", Manual},
};

int Fail(const std::string& message) {
  fprintf(stderr, "tarvexcli: %s\n", message.c_str());
  return kExitUsage;
}

// Every storage command, whatever the default host says: the features that
// decide whether a command is registered are switched on.
void UseHostWithEveryFeature() {
  HostCtl::Sim::UseInMemoryHost(HostCtl::Sim::DefaultHostFixture());
  for (unsigned feature :
       {HostCtl::FEATURE_NAS_STRELNIC_BINDING, HostCtl::FEATURE_NAS_PREUNMOUNT}) {
    HostCtl::Sim::SetFeature(feature, true);
  }
}

// The mode args[0] names with the format args[1] (any of its formats when
// that is not one), or null.
const Mode* FindMode(const std::vector<std::string>& args) {
  const Mode* found = nullptr;
  for (const Mode& mode : kModes) {
    if (args.empty() || args[0] != mode.option) continue;
    if (args.size() > 1 && args[1] == mode.format) return &mode;
    if (!found) found = &mode;
  }
  return found;
}

// "expected 'OPTION FORMAT|FORMAT'" for the modes of `option`.
std::string Usage(const std::string& option) {
  std::string formats;
  for (const Mode& mode : kModes) {
    if (option == mode.option) formats += (formats.empty() ? "" : "|") + std::string(mode.format);
  }
  return "expected '" + option + " " + formats + "'";
}

}  // namespace

bool IsGenerateMode(const std::vector<std::string>& args) { return FindMode(args) != nullptr; }

int RunGenerateMode(const std::vector<std::string>& args) {
  const Mode* mode = FindMode(args);
  if (!mode) return Fail("Expected --generate-completion or --generate-reference");
  if (args.size() != 2 || args[1] != mode->format) return Fail(Usage(mode->option));
  std::string text;
  try {
    UseHostWithEveryFeature();
    auto root = BuildCommandTree();
    text = mode->generate(FlattenTree(*root));
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  TarvexOutput::WriteStdOutput(text);
  return kExitOk;
}

}  // namespace TarvexShell
