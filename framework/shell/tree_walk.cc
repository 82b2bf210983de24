#include "framework/shell/tree_walk.h"

namespace TarvexShell {

namespace {

void Visit(Cordra::AutoCli::NamespaceNode& node, const std::string& path,
           std::vector<TreeEntry>* entries) {
  auto* command = node.IsCommand() ? dynamic_cast<Cordra::AutoCli::Command*>(&node) : nullptr;
  entries->push_back({path, &node, command});
  for (const auto& child : node.GetChildren()) {
    Visit(*child.second, path.empty() ? child.first : path + " " + child.first, entries);
  }
}

}  // namespace

std::vector<TreeEntry> FlattenTree(Cordra::AutoCli::NamespaceNode& root) {
  std::vector<TreeEntry> entries;
  Visit(root, "", &entries);
  return entries;
}

}  // namespace TarvexShell
