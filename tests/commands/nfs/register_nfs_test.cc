// The `storage nfs` and `storage nfs41` subtrees as registration builds them.
#include "plugin/subtrees.h"
#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

using Cordra::AutoCli::NamespaceNode;

Texts ChildNames(const NamespaceNode& node) {
  Texts names;
  for (const auto& child : node.GetChildren()) names.push_back(child.first);
  return names;
}

// The one namespace that `tree` attaches to a fresh parent.
std::shared_ptr<NamespaceNode> Build(void (*tree)(const NodePtr&), const char* name) {
  auto storage = Cordra::AutoCli::Namespace::New();
  tree(storage);
  EXPECT_EQ(ChildNames(*storage), Texts{name});
  return storage->GetNamespaceNode(name);
}

class RegisterNfsTest : public CommandTest {};

TEST_F(RegisterNfsTest, PreunmountNamespaceOnlyWhenTheSwitchIsOn) {
  UseHost(NasHost({}, true, false));
  auto nfs = Build(RegisterNfsTree, "nfs");
  EXPECT_EQ(ChildNames(*nfs), (Texts{"add", "remove", "list", "param"}));
  EXPECT_EQ(ChildNames(*nfs->GetNamespaceNode("param")), (Texts{"get", "set"}));

  UseHost(NasHost({}, false, true));
  nfs = Build(RegisterNfsTree, "nfs");
  EXPECT_EQ(ChildNames(*nfs), (Texts{"add", "remove", "list", "preunmountstate", "param"}));
  auto preunmount = nfs->GetNamespaceNode("preunmountstate");
  EXPECT_EQ(ChildNames(*preunmount), (Texts{"enter", "exit"}));
  EXPECT_EQ(preunmount->GetNamespaceNode("exit")->GetDescription(),
            "Exit NAS volume from preunmount state.");
}

TEST_F(RegisterNfsTest, Nfs41Tree) {
  auto nfs41 = Build(RegisterNfs41Tree, "nfs41");
  EXPECT_EQ(ChildNames(*nfs41), (Texts{"add", "remove", "list", "param"}));
  EXPECT_EQ(ChildNames(*nfs41->GetNamespaceNode("param")), (Texts{"get", "set"}));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
