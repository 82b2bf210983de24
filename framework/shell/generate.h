// tarvexcli's hidden modes for packagers: the bash completion script and the
// command reference, both generated from the command tree that the plug-in
// registers (docs/usage.md, "For packagers").
#ifndef FRAMEWORK_SHELL_GENERATE_H_
#define FRAMEWORK_SHELL_GENERATE_H_

#include <string>
#include <vector>

namespace TarvexShell {

// Whether the command line (without the program name) asks for one of the
// modes: its first argument is --generate-completion or --generate-reference.
bool IsGenerateMode(const std::vector<std::string>& args);

// Runs `--generate-completion bash` or `--generate-reference markdown`: prints
// the text on stdout and returns 0. The tree is registered on an in-memory
// host made from the built-in default host with every storage feature on,
// so the output holds every command and never depends on, or touches, the
// user's store. A missing or unknown format, or anything after it, is a usage
// error (2); a plug-in that cannot be loaded or registered exits 2 as well.
int RunGenerateMode(const std::vector<std::string>& args);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_GENERATE_H_
