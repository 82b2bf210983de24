// tarvexcli's side of --dry-run: the host undoes the changes
// (hostctl/rules/dry_run.h); the shell records the datastore agent's
// command lines instead of running them and prints the list.
#ifndef FRAMEWORK_SHELL_DRY_RUN_SHELL_H_
#define FRAMEWORK_SHELL_DRY_RUN_SHELL_H_

namespace TarvexShell {

// Makes this run a dry one; call before the store is opened. The agent is
// not run: its command line (the host's script path, unmapped) and input
// are kept for the list, and the command is told it succeeded.
void BeginDryRun(bool json);
// Whether BeginDryRun was called in this run.
bool DryRunActive();
// Undoes the run's changes and prints the list on stderr, unless the store
// was never opened or `status` is a usage error. Returns `status`, or the store's exit status when
// the undoing fails. Ends dry-run mode.
int EndDryRun(int status);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_DRY_RUN_SHELL_H_
