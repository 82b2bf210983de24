// The command tree as a flat list, for the generators that describe all of
// it (the completion script and the command reference).
#ifndef FRAMEWORK_SHELL_TREE_WALK_H_
#define FRAMEWORK_SHELL_TREE_WALK_H_

#include <string>
#include <vector>

#include "cordra/command.h"
#include "cordra/namespace.h"

namespace TarvexShell {

struct TreeEntry {
  std::string path;                      // "storage nfs add"; "" for the root
  Cordra::AutoCli::NamespaceNode* node;  // never null
  Cordra::AutoCli::Command* command;     // the node as a command, or null for a namespace
};

// Every node under and including `root`, depth first, children in
// registration order. The pointers are borrowed from the tree, which must
// outlive the result.
std::vector<TreeEntry> FlattenTree(Cordra::AutoCli::NamespaceNode& root);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_TREE_WALK_H_
