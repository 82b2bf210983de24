// The real runner behind AutoCli_ShellCmd.
#ifndef FRAMEWORK_SHELL_PROCESS_H_
#define FRAMEWORK_SHELL_PROCESS_H_

#include <string>

namespace Cordra {
namespace Frame {

// Runs `/bin/sh -c command_line` with `input` on its standard input (through
// a pipe, written while its output is read, so neither side can block the
// other) and its standard output collected into `output`; standard error is
// inherited. A child that stops reading early is not an error: the rest of
// the input is dropped, and no SIGPIPE reaches this process. Returns the
// exit status, or 128 + the signal number. Throws CordraToolException when
// the shell cannot be started.
int RunShellProcess(const std::string& command_line, std::string& output, const std::string& input);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_SHELL_PROCESS_H_
