#include <memory>

#include "cordra/cordra.h"
#include "plugin/entry_points.h"
#include "plugin/subtrees.h"

namespace TarvexCli {

std::shared_ptr<Cordra::AutoCli::Namespace> MakeNamespace(const char* description) {
  auto ns = Cordra::AutoCli::Namespace::New();
  ns->SetDescription(description);
  return ns;
}

}  // namespace TarvexCli

extern "C" void FilesystemNfs_RegisterNamespaces(NodePtr parent) {
  TarvexCli::RegisterFilesystemTree(parent);
  TarvexCli::RegisterNfsTree(parent);
  TarvexCli::RegisterNfs41Tree(parent);
  TarvexCli::RegisterKovraTree(parent);
}
