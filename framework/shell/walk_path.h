// The command path of a tarvexcli line: the names that lead from the root to
// a namespace or command, and the usage error when one of them is wrong.
#ifndef FRAMEWORK_SHELL_WALK_PATH_H_
#define FRAMEWORK_SHELL_WALK_PATH_H_

#include <memory>
#include <string>
#include <vector>

#include "cordra/namespace.h"

namespace TarvexShell {

// Where the command path leads: the node, its path as typed, and the index
// of the first argument after it.
struct Walk {
  std::shared_ptr<Cordra::AutoCli::NamespaceNode> node;
  std::string path;
  size_t end = 0;
  std::string error;  // a usage error, or ""
};

// Follows names from args[0] until a command (or the end). The global
// options are already out of `args`, so an option here is an error: a
// mistyped global option (suggested), or a command's option before its
// command. An unknown name suggests the nearest child.
Walk WalkPath(const std::shared_ptr<Cordra::AutoCli::NamespaceNode>& root,
              const std::vector<std::string>& args);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_WALK_PATH_H_
