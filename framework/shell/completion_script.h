// The fixed part of tarvexcli's bash completion script: its header and the
// shell functions that read the tables BashCompletion() declares before them
// (_tarvexcli_children, _tarvexcli_options, _tarvexcli_once,
// _tarvexcli_values, _tarvexcli_fields) and answer a Tab.
#ifndef FRAMEWORK_SHELL_COMPLETION_SCRIPT_H_
#define FRAMEWORK_SHELL_COMPLETION_SCRIPT_H_

namespace TarvexShell {

// The script's first lines: what made it, and not to edit it.
extern const char kCompletionHeader[];

// The functions _tarvexcli_unused, _tarvexcli_offer and _tarvexcli, and the
// `complete` line that registers the last.
extern const char kCompletionFunctions[];

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_COMPLETION_SCRIPT_H_
