#include "framework/shell/plugin_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdlib>

namespace TarvexShell {

namespace {

using RegisterFn = void (*)(std::shared_ptr<Cordra::AutoCli::NamespaceNode>);

std::string Parent(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

RegisterFn Lookup(void* library, const std::string& path, const char* name) {
  dlerror();
  void* symbol = dlsym(library, name);
  if (!symbol) {
    throw PluginError("Plug-in " + path + " has no entry point '" + name + "'");
  }
  return reinterpret_cast<RegisterFn>(symbol);
}

}  // namespace

std::string InstallPrefix() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "..";
  return Parent(Parent(std::string(buffer, static_cast<size_t>(n))));
}

std::string PluginPath() {
  const char* env = std::getenv("TARVEX_PLUGIN");
  if (env && *env) return env;
  // The build tree and the install tree alike use the platform's library
  // directory (a multiarch lib/..., lib64).
  return InstallPrefix() + "/" + TARVEX_INSTALL_LIBDIR + "/tarvex/libcore-storage-internal.so";
}

void LoadPlugin(const std::string& path,
                const std::shared_ptr<Cordra::AutoCli::NamespaceNode>& root,
                const std::shared_ptr<Cordra::AutoCli::NamespaceNode>& storage) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::string reason = dlerror();
    // dlerror() starts with the file name; say it once.
    if (reason.compare(0, path.size() + 2, path + ": ") == 0) reason.erase(0, path.size() + 2);
    throw PluginError("Cannot load plug-in " + path + ": " + reason);
  }
  const RegisterFn register_root = Lookup(library, path, "AutoCli_RegisterNamespaces");
  const RegisterFn register_storage = Lookup(library, path, "FilesystemNfs_RegisterNamespaces");
  register_root(root);
  register_storage(storage);
}

std::shared_ptr<Cordra::AutoCli::NamespaceNode> BuildCommandTree() {
  auto root = Cordra::AutoCli::Namespace::New();
  root->SetName("root");
  root->SetDescription("The host's command tree.");
  auto storage = Cordra::AutoCli::Namespace::New();
  storage->SetDescription("Operations pertaining to storage on the host.");
  root->RegisterNamespaceNode(storage, "storage");
  LoadPlugin(PluginPath(), root, storage);
  return root;
}

}  // namespace TarvexShell
