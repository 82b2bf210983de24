#include "hostctl/call_recorder.h"

namespace HostCtl {
namespace Sim {
namespace {

struct RecorderState {
  std::string command;
  std::set<RecordedCall> records;
};

RecorderState& State() {
  static RecorderState state;
  return state;
}

}  // namespace

bool CallRecorder::enabled_ = false;

void CallRecorder::Enable() {
  State().records.clear();
  enabled_ = true;
}

void CallRecorder::Disable() {
  enabled_ = false;
  State().command.clear();
  State().records.clear();
}

void CallRecorder::SetCommand(const std::string& command) { State().command = command; }

const std::set<RecordedCall>& CallRecorder::Records() { return State().records; }

void CallRecorder::Add(Op op, bool fault_fired) {
  RecorderState& state = State();
  if (state.command.empty()) return;
  state.records.insert({state.command, OperationName(op), fault_fired});
}

}  // namespace Sim
}  // namespace HostCtl
