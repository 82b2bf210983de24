// How AutoCli_ShellCmd reaches its command, replaceable by the shell and tests.
#ifndef FRAMEWORK_SHELL_RUNNER_H_
#define FRAMEWORK_SHELL_RUNNER_H_

#include <functional>
#include <string>

namespace Cordra {
namespace Frame {

using ShellCmdRunner = std::function<int(const std::string& command_line, std::string& output,
                                         const std::string& input)>;

// Replaces the runner behind AutoCli_ShellCmd and returns the previous one;
// an empty function restores the real one (/bin/sh -c).
ShellCmdRunner SetShellCmdRunner(ShellCmdRunner runner);

// Makes a command line that begins with the script path `from` run `to`
// instead (the rest of the line unchanged). tarvexcli maps the host's agent
// scripts to the stand-ins it ships.
void MapScriptPath(const std::string& from, const std::string& to);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_SHELL_RUNNER_H_
