// One run of tarvexcli, apart from main() so that its steps read in order.
#ifndef FRAMEWORK_SHELL_CLI_H_
#define FRAMEWORK_SHELL_CLI_H_

#include <string>
#include <vector>

namespace TarvexShell {

// Runs the command line `args` (without the program name): global options,
// store, plug-in, command path, the command's options, the command itself,
// and its result on stdout and its error messages on stderr. Returns the
// exit status (exit_status.h).
int RunCli(const std::vector<std::string>& args);

// The text of `tarvexcli --help` above the list of the root's children.
std::string ShellUsage();

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_CLI_H_
