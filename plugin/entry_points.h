// The plug-in's registration entry points, exported unmangled. Each takes a
// node of the framework's tree and adds the plug-in's namespaces and commands
// under it.
#ifndef PLUGIN_ENTRY_POINTS_H_
#define PLUGIN_ENTRY_POINTS_H_

#include <memory>

#include "cordra/namespace.h"

using NodePtr = std::shared_ptr<Cordra::AutoCli::NamespaceNode>;

extern "C" {

// Root of the host tree: adds the `storage internal` subtree.
void AutoCli_RegisterNamespaces(NodePtr root);
// Root of the host tree, which must hold `storage`; throws
// Cordra::CordraToolException and changes nothing when it does not.
void Core_RegisterInternalNamespaces(NodePtr root);
// The `storage internal` namespace: adds `nmp boot restore`.
void Nmp_RegisterInternalNamespaces(NodePtr parent);
// The `storage internal` namespace: adds `clusteredkadisk get` and `set`.
void ClusteredKadisk_RegisterInternalNamespace(NodePtr parent);
// The `storage` namespace: adds `filesystem`, `nfs`, `nfs41` and `kovra`.
void FilesystemNfs_RegisterNamespaces(NodePtr parent);

}  // extern "C"

#endif  // PLUGIN_ENTRY_POINTS_H_
