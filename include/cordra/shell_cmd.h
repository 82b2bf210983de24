// Running a host script from a command.
#ifndef CORDRA_SHELL_CMD_H_
#define CORDRA_SHELL_CMD_H_

#include <string>

namespace Cordra {
namespace AutoCli {

// Runs `command_line` through /bin/sh -c, writes `input` to its standard
// input, collects its standard output into `output` and waits for it.
// Returns the command's exit status (128 + signal number when a signal ended
// it). `input` never becomes part of the command line. Throws
// CordraToolException when the command cannot be started at all.
int AutoCli_ShellCmd(const std::string& command_line, std::string& output,
                     const std::string& input);

}  // namespace AutoCli
}  // namespace Cordra

#endif  // CORDRA_SHELL_CMD_H_
