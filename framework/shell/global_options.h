// tarvexcli's global options: long options before the command path.
#ifndef FRAMEWORK_SHELL_GLOBAL_OPTIONS_H_
#define FRAMEWORK_SHELL_GLOBAL_OPTIONS_H_

#include <memory>
#include <string>
#include <vector>

#include "cordra/call_spec.h"

namespace TarvexShell {

struct GlobalOptions {
  std::string format;               // "" when not given: the command's own formatter
  std::vector<std::string> fields;  // from --fields, blanks around names trimmed
  bool no_header = false;
  std::string store;  // "" when not given
  bool help = false;
  bool version = false;
};

// Parses the global options at the front of `args` (each "--name value" or
// "--name=value", with the same rules and messages as a command's options)
// and returns the index of the first argument after them: the start of the
// command path. Throws Cordra::Frame::UsageError.
size_t ParseGlobalOptions(const std::vector<std::string>& args, GlobalOptions* options);

// The global options as parameters (name, type, the formats of --format),
// for the parser and for the generated completion.
std::shared_ptr<Cordra::CallSpec::InputSpec> GlobalOptionSpec();

// Whether `arg` names a global option (for a better message when one comes
// after the command path).
bool IsGlobalOption(const std::string& arg);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_GLOBAL_OPTIONS_H_
