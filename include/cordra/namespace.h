// The command tree: namespaces with a name and a one-line description, and
// commands at the leaves. The framework owns the tree; nodes are shared.
#ifndef CORDRA_NAMESPACE_H_
#define CORDRA_NAMESPACE_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Cordra {
namespace AutoCli {

class NamespaceNode {
 public:
  using Child = std::pair<std::string, std::shared_ptr<NamespaceNode>>;

  virtual ~NamespaceNode();  // out of line: the vtable lives in the framework
  NamespaceNode(const NamespaceNode&) = delete;
  NamespaceNode& operator=(const NamespaceNode&) = delete;

  void SetName(const std::string& name) { name_ = name; }
  const std::string& GetName() const { return name_; }
  void SetDescription(const std::string& description) { description_ = description; }
  const std::string& GetDescription() const { return description_; }

  bool HasNamespaceNode(const std::string& name) const;
  // The child registered under `name`, or null. Callers narrow it with
  // std::dynamic_pointer_cast to the kind they expect.
  std::shared_ptr<NamespaceNode> GetNamespaceNode(const std::string& name) const;

  // Attaches `node` under `name`, which also becomes the node's name. Names
  // are unique among siblings: registering a name that is already taken
  // replaces the earlier node in its place, so running a registration twice
  // leaves the same tree as running it once. Throws CordraToolException, and
  // attaches nothing, for a command with a parameter named like one of the
  // shell's global options (--format, -h, ...).
  void RegisterNamespaceNode(std::shared_ptr<NamespaceNode> node, const char* name);
  void RegisterNamespaceNode(std::shared_ptr<NamespaceNode> node, const std::string& name) {
    RegisterNamespaceNode(std::move(node), name.c_str());
  }

  // Children in the order they were first registered.
  const std::vector<Child>& GetChildren() const { return children_; }
  // Null for the root or a node not attached yet.
  std::shared_ptr<NamespaceNode> GetParent() const { return parent_.lock(); }

  // The node's shared self-reference, null until bound. Commands made with a
  // plain new-expression bind it in their New(); registration binds it for
  // nodes that have not done so.
  std::shared_ptr<NamespaceNode> GetThis() const { return this_.lock(); }
  void BindThis(const std::shared_ptr<NamespaceNode>& self) { this_ = self; }

  virtual bool IsCommand() const { return false; }

 protected:
  NamespaceNode() = default;

 private:
  std::string name_;
  std::string description_;
  std::vector<Child> children_;
  std::weak_ptr<NamespaceNode> parent_;
  std::weak_ptr<NamespaceNode> this_;
};

class Namespace : public NamespaceNode {
 public:
  static std::shared_ptr<Namespace> New();
  ~Namespace() override;

 private:
  Namespace() = default;
};

}  // namespace AutoCli
}  // namespace Cordra

#endif  // CORDRA_NAMESPACE_H_
