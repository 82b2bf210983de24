// Which host-control operations each command called, and in which of them a
// fault fired: the raw data of the fault-coverage report. Only tests turn it
// on; while it is off, recording costs one test of a flag per operation.
//
// The recorder is process-wide and, like the session, not for use from
// several threads at once.
#ifndef HOSTCTL_CALL_RECORDER_H_
#define HOSTCTL_CALL_RECORDER_H_

#include <set>
#include <string>
#include <tuple>

#include "hostctl/faults.h"

namespace HostCtl {
namespace Sim {

struct RecordedCall {
  std::string command;    // as the test named it, e.g. "NFSVolumeAdd"
  std::string operation;  // as in HOSTCTL_OPERATIONS, e.g. "AddNetworkFileSystem"
  bool fault_fired;       // false: the operation was called; true: a fault fired in it

  bool operator<(const RecordedCall& other) const {
    return std::tie(command, operation, fault_fired) <
           std::tie(other.command, other.operation, other.fault_fired);
  }
  bool operator==(const RecordedCall& other) const {
    return std::tie(command, operation, fault_fired) ==
           std::tie(other.command, other.operation, other.fault_fired);
  }
};

class CallRecorder {
 public:
  // Starts recording (and forgets what was recorded before).
  static void Enable();
  // Stops recording and forgets everything.
  static void Disable();

  // Names the command whose operations are recorded from now on; "" records
  // nothing until the next name (operations called by the test itself).
  static void SetCommand(const std::string& command);

  // Called by CheckFault: the operation `op` was called / a fault fired in it.
  static void Called(Op op) {
    if (enabled_) Add(op, false);
  }
  static void Fired(Op op) {
    if (enabled_) Add(op, true);
  }

  // Everything recorded since Enable, without duplicates.
  static const std::set<RecordedCall>& Records();

 private:
  static void Add(Op op, bool fault_fired);
  static bool enabled_;
};

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_CALL_RECORDER_H_
