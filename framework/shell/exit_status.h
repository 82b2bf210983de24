// tarvexcli's exit statuses (documented in its --help and docs/usage.md).
#ifndef FRAMEWORK_SHELL_EXIT_STATUS_H_
#define FRAMEWORK_SHELL_EXIT_STATUS_H_

#include "framework/std_output.h"

namespace TarvexShell {

enum ExitStatus {
  kExitOk = 0,            // the command added no error message
  kExitCommandError = 1,  // the command added one (a partial result is printed)
  kExitUsage = 2,         // bad global option, command path, option or value
  kExitStore = 3,         // the simulated host's store cannot be used
  kExitPlugin = 2,  // the plug-in cannot be loaded or its registration failed: a usage error of the
                    // installation
  kExitOutput = TarvexOutput::kExitOutput,  // standard output could not be written
};

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_EXIT_STATUS_H_
