// The subtrees that FilesystemNfs_RegisterNamespaces builds, one function
// each, in the order it calls them. Each makes its namespace, attaches its
// children, then attaches the namespace to `parent`.
#ifndef PLUGIN_SUBTREES_H_
#define PLUGIN_SUBTREES_H_

#include <memory>

#include "cordra/namespace.h"

namespace TarvexCli {

using NodePtr = std::shared_ptr<Cordra::AutoCli::NamespaceNode>;

// A new namespace with its description.
std::shared_ptr<Cordra::AutoCli::Namespace> MakeNamespace(const char* description);

void RegisterFilesystemTree(const NodePtr& parent);
void RegisterNfsTree(const NodePtr& parent);
void RegisterNfs41Tree(const NodePtr& parent);
void RegisterKovraTree(const NodePtr& parent);

}  // namespace TarvexCli

#endif  // PLUGIN_SUBTREES_H_
