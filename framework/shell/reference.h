// The command reference (docs/commands.md), made from the live command tree
// (`tarvexcli --generate-reference markdown`).
#ifndef FRAMEWORK_SHELL_REFERENCE_H_
#define FRAMEWORK_SHELL_REFERENCE_H_

#include <string>
#include <vector>

#include "framework/shell/tree_walk.h"

namespace TarvexShell {

// Markdown for every entry of `tree` (FlattenTree() of the root), in tree
// order: a table of contents, then each namespace with its description and
// children, and each command with its description, usage line, default
// format, options (long and short name, type with its integer range,
// required or not, the description with "%ENUM%" expanded as in the help, the
// allowed values with their descriptions), its output (the prototype's
// structure name and fields in order with types and units, the columns shown
// by default, or "true" on success for an action) and its examples. The
// text depends on nothing but the tree.
std::string MarkdownReference(const std::vector<TreeEntry>& tree);

// The same text as roff, one subsection a node, for the COMMANDS section of
// tarvexcli(1); no contents and no preamble.
std::string RoffReference(const std::vector<TreeEntry>& tree);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_REFERENCE_H_
