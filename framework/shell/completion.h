// The bash completion script of tarvexcli, made from the live command tree
// (`tarvexcli --generate-completion bash`).
#ifndef FRAMEWORK_SHELL_COMPLETION_H_
#define FRAMEWORK_SHELL_COMPLETION_H_

#include <string>
#include <vector>

#include "cordra/call_spec.h"
#include "framework/shell/tree_walk.h"

namespace TarvexShell {

// A script for bash that defines the function `_tarvexcli` and registers it
// with `complete`. It completes, at each position of a command line: the
// global options (`globals`; the formats after --format, file names after
// --store), the children of a namespace, a command's long and short options
// (long ones only on an empty word), the values of an enumeration, true and
// false after a boolean option, and --help. `tree` is FlattenTree() of the
// root. Throws std::invalid_argument when a name, option or value is not a
// plain word that completion can offer as it stands (letters, digits and
// "_.,/+-"; no blank, quote, ':' or '='), naming it.
std::string BashCompletion(const std::vector<TreeEntry>& tree,
                           const Cordra::CallSpec::InputSpec& globals);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_COMPLETION_H_
