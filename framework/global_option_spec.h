// The shell's global options, which a user may give anywhere on a command
// line: before the command path, between its words and after the command.
#ifndef FRAMEWORK_GLOBAL_OPTION_SPEC_H_
#define FRAMEWORK_GLOBAL_OPTION_SPEC_H_

#include <memory>

#include "cordra/call_spec.h"

namespace Cordra {
namespace Frame {

// --format (an enumeration of the formats), --fields, --no-header, --store,
// --on-host, --dry-run, --help (short -h) and --version, as parameters: for the parser, the help,
// the completion and the registration check below.
std::shared_ptr<CallSpec::InputSpec> GlobalOptionSpec();

// Throws CordraToolException when a parameter of `spec` takes the long or
// short name of a global option: on that command line the global would win,
// so the parameter could never be given. `path` names the command.
void CheckNoGlobalOptionNames(const CallSpec::InputSpec& spec, const std::string& path);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_GLOBAL_OPTION_SPEC_H_
