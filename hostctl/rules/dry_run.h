// Dry runs: a command runs as it always does, against the real store and
// the chosen host, and every change it made is undone at the end, so the
// store's file is byte for byte what it was. What it would have changed is
// the difference of the store's dumps inside the same transaction, before
// and after.
#ifndef HOSTCTL_RULES_DRY_RUN_H_
#define HOSTCTL_RULES_DRY_RUN_H_

#include <string>
#include <vector>

#include "hostctl/fixture/fixture_diff.h"

namespace HostCtl {
namespace Sim {

// Makes this process's run a dry one. Call before the first write (the
// store may be open already).
void StartDryRun();

// Undoes every change since StartDryRun, puts them in `changes` (none when
// the process wrote nothing: then nothing is dumped) and ends dry-run mode.
// False when the process never opened the store. Throws StoreError.
bool FinishDryRun(std::vector<ObjectChange>* changes);

// A notification the datastore agent would have been sent: its command
// line, and what its standard input would have been.
struct AgentCall {
  std::string command_line;
  std::string input;
};

// The list a dry run prints on stderr: lines for a user, or (with `json`)
// one JSON object {"changes": [...], "notifications": [...]}. Ends with a
// newline.
std::string DryRunReport(const std::vector<ObjectChange>& changes,
                         const std::vector<AgentCall>& calls, bool json);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_DRY_RUN_H_
