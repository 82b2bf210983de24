// tarvexcli(1): the manual page, made from the same pieces as `tarvexcli
// --help` and docs/commands.md, so that it says what they say.
#ifndef FRAMEWORK_SHELL_MANUAL_H_
#define FRAMEWORK_SHELL_MANUAL_H_

#include <string>
#include <vector>

#include "framework/shell/tree_walk.h"

namespace TarvexShell {

// The page for the tree `tree` (FlattenTree() of the root) of version
// `version`: synopsis, description, global options, exit status and
// environment from ShellUsage(), the files, every command as
// RoffReference() writes it, examples, and what to read next.
std::string ManualPage(const std::vector<TreeEntry>& tree, const std::string& version);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_MANUAL_H_
