// The format tarvexcli shows a command's result in when --format is not
// given (used when running a command and in the command reference).
#ifndef FRAMEWORK_SHELL_DEFAULT_FORMAT_H_
#define FRAMEWORK_SHELL_DEFAULT_FORMAT_H_

#include <string>

#include "cordra/command.h"

namespace TarvexShell {

// The command's own formatter when it names one the shell has, else "table".
std::string DefaultFormat(const Cordra::AutoCli::CommandSpec& command);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_DEFAULT_FORMAT_H_
