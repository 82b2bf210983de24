#include "framework/shell/dry_run_shell.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/shell/exit_status.h"
#include "framework/shell_runner.h"
#include "framework/std_output.h"
#include "framework/text_escape.h"
#include "hostctl/rules/dry_run.h"
#include "hostctl/rules/sim.h"

namespace TarvexShell {

namespace {

struct DryRunState {
  bool active = false;
  bool json = false;
  std::vector<HostCtl::Sim::AgentCall> calls;
};

DryRunState& State() {
  static DryRunState* state = new DryRunState();  // never destroyed: usable at exit
  return *state;
}

void PrintError(const std::string& text) { fwrite(text.data(), 1, text.size(), stderr); }

}  // namespace

void BeginDryRun(bool json) {
  State() = DryRunState{true, json, {}};
  HostCtl::Sim::StartDryRun();
  Cordra::Frame::SetShellCmdRunner(
      [](const std::string& line, std::string& output, const std::string& input) {
        State().calls.push_back({line, input});
        output.clear();
        return 0;
      });
}

bool DryRunActive() { return State().active; }

int EndDryRun(int status) {
  DryRunState& state = State();
  if (!state.active) return status;
  state.active = false;
  Cordra::Frame::SetShellCmdRunner(nullptr);
  std::vector<HostCtl::Sim::ObjectChange> changes;
  try {
    // A usage error ran nothing, so it lists nothing.
    if (!HostCtl::Sim::FinishDryRun(&changes) || status == kExitUsage) return status;
  } catch (const HostCtl::Sim::StoreError& e) {
    PrintError("tarvexcli: " + Cordra::Frame::DisplayText(e.what()) + "\n");
    return kExitStore;
  }
  // The list comes after the output, also when both go to one file.
  if (fflush(stdout) != 0) TarvexOutput::NoteStdOutputFailure(errno);
  PrintError(HostCtl::Sim::DryRunReport(changes, state.calls, state.json));
  return status;
}

}  // namespace TarvexShell
