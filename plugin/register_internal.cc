#include <memory>

#include "commands/internal/boot_restore.h"
#include "commands/internal/clustered_kadisk.h"
#include "cordra/cordra.h"
#include "hostctl/lib.h"
#include "plugin/entry_points.h"
#include "plugin/subtrees.h"

using Cordra::AutoCli::Namespace;
using TarvexCli::MakeNamespace;

extern "C" {

void AutoCli_RegisterNamespaces(NodePtr root) {
  NodePtr copy = root;
  Core_RegisterInternalNamespaces(copy);
}

void Core_RegisterInternalNamespaces(NodePtr root) {
  if (!root->HasNamespaceNode("storage")) {
    throw Cordra::CordraToolException(HostCtl::Misc::StrPrintf(
        "Unable to find '%s' namespace in namespace '%s'", "storage", root->GetName().c_str()));
  }
  auto storage = std::dynamic_pointer_cast<Namespace>(root->GetNamespaceNode("storage"));

  std::shared_ptr<Namespace> internal;
  if (storage->HasNamespaceNode("internal")) {
    internal = std::dynamic_pointer_cast<Namespace>(storage->GetNamespaceNode("internal"));
  } else {
    internal = MakeNamespace("Tarvex internal storage commands.");
    storage->RegisterNamespaceNode(internal, "internal");
  }

  internal->RegisterNamespaceNode(
      MakeNamespace("Tarvex core storage commands. No operations are currently internal only."),
      "core");
  Nmp_RegisterInternalNamespaces(internal);
  ClusteredKadisk_RegisterInternalNamespace(internal);
}

void Nmp_RegisterInternalNamespaces(NodePtr parent) {
  auto nmp = MakeNamespace(
      "Tarvex Native Multipath Plugin (NMP). This is the Tarvex default implementation of the "
      "Pluggable Storage Architecture.");
  auto boot =
      MakeNamespace("Operations pertaining to the boot time configuration of the NMP plugin.");
  boot->RegisterNamespaceNode(TarvexCli::Nmp::BootRestore::New(), "restore");
  nmp->RegisterNamespaceNode(boot, "boot");
  parent->RegisterNamespaceNode(nmp, "nmp");
}

void ClusteredKadisk_RegisterInternalNamespace(NodePtr parent) {
  auto clustered = MakeNamespace("Manage clustered Kadisk support.");
  clustered->RegisterNamespaceNode(TarvexCli::FileSystem::ClusteredKadiskGet::New(), "get");
  clustered->RegisterNamespaceNode(TarvexCli::FileSystem::ClusteredKadiskSet::New(), "set");
  parent->RegisterNamespaceNode(clustered, "clusteredkadisk");
}

}  // extern "C"
