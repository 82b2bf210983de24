#include "cordra/namespace.h"

#include <utility>

#include "cordra/command.h"
#include "framework/global_option_spec.h"

namespace Cordra {
namespace AutoCli {

NamespaceNode::~NamespaceNode() = default;
Namespace::~Namespace() = default;

std::shared_ptr<Namespace> Namespace::New() {
  std::shared_ptr<Namespace> ns(new Namespace());
  ns->BindThis(ns);
  return ns;
}

bool NamespaceNode::HasNamespaceNode(const std::string& name) const {
  return GetNamespaceNode(name) != nullptr;
}

std::shared_ptr<NamespaceNode> NamespaceNode::GetNamespaceNode(const std::string& name) const {
  for (const auto& child : children_) {
    if (child.first == name) return child.second;
  }
  return nullptr;
}

void NamespaceNode::RegisterNamespaceNode(std::shared_ptr<NamespaceNode> node, const char* name) {
  if (!node) return;
  const std::string key = name ? name : "";
  if (auto* command = dynamic_cast<Command*>(node.get())) {
    if (auto spec = command->GetInputSpec()) Frame::CheckNoGlobalOptionNames(*spec, key);
  }
  if (!node->GetThis()) node->BindThis(node);
  node->SetName(key);
  node->parent_ = this_;
  for (auto& child : children_) {
    if (child.first != key) continue;
    // Replace in place: the position among the siblings stays the first
    // registration's, so help and listings keep their order.
    if (child.second != node && child.second->parent_.lock().get() == this) {
      child.second->parent_.reset();
    }
    child.second = std::move(node);
    return;
  }
  children_.emplace_back(key, std::move(node));
}

}  // namespace AutoCli
}  // namespace Cordra
