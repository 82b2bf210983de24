// Loading the storage plug-in into the shell's command tree.
#ifndef FRAMEWORK_SHELL_PLUGIN_LOADER_H_
#define FRAMEWORK_SHELL_PLUGIN_LOADER_H_

#include <memory>
#include <stdexcept>
#include <string>

#include "cordra/namespace.h"

namespace TarvexShell {

// The plug-in cannot be loaded: what() names the file and the reason, or
// the entry point that is missing.
class PluginError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// $TARVEX_PLUGIN when set and not empty, else <prefix>/<libdir>/tarvex/
// libcore-storage-internal.so where <prefix> is the directory above the one
// holding the running executable and <libdir> the install tree's library
// directory, or lib (the build tree's) when the library is not there.
std::string PluginPath();

// The directory above the running executable's (the build or install prefix).
std::string InstallPrefix();

// dlopen()s `path`, finds both entry points, then calls
// AutoCli_RegisterNamespaces(root) and FilesystemNfs_RegisterNamespaces(storage).
// The library stays loaded for the life of the process: the tree holds its
// objects. Throws PluginError before registering anything when the library
// or an entry point is missing; whatever the entry points throw
// (Cordra::CordraToolException, a host-control failure) passes through.
void LoadPlugin(const std::string& path,
                const std::shared_ptr<Cordra::AutoCli::NamespaceNode>& root,
                const std::shared_ptr<Cordra::AutoCli::NamespaceNode>& storage);

// The host's command tree: the root (named "root") holding `storage`, with
// the plug-in at PluginPath() loaded into both. Throws what LoadPlugin throws.
std::shared_ptr<Cordra::AutoCli::NamespaceNode> BuildCommandTree();

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_PLUGIN_LOADER_H_
