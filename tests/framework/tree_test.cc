#include <gtest/gtest.h>

#include "cordra/cordra.h"
#include "tests/framework/test_support.h"

namespace Cordra {
namespace {

using AutoCli::Namespace;
using AutoCli::NamespaceNode;

std::vector<std::string> ChildNames(const NamespaceNode& node) {
  std::vector<std::string> names;
  for (const auto& child : node.GetChildren()) names.push_back(child.first);
  return names;
}

std::shared_ptr<Testing::FakeCommand> MakeCommand() {
  return Testing::FakeCommand::New(CallSpec::InputSpec::New(), CallSpec::OutputSpec::New());
}

TEST(TreeTest, RegistrationNamesLinksAndBindsTheNode) {
  auto root = Namespace::New();
  auto storage = Namespace::New();
  storage->SetName("ignored");
  auto command = MakeCommand();
  storage->RegisterNamespaceNode(command, "list");  // before its parent is registered
  root->RegisterNamespaceNode(storage, "storage");
  EXPECT_EQ("storage", storage->GetName());
  EXPECT_EQ(root, storage->GetParent());
  EXPECT_EQ(root, command->GetParent()->GetParent());
  EXPECT_TRUE(root->HasNamespaceNode("storage"));
  EXPECT_FALSE(root->HasNamespaceNode("Storage"));
  EXPECT_EQ(nullptr, root->GetNamespaceNode("nfs"));
  EXPECT_EQ(command, storage->GetNamespaceNode("list"));
}

TEST(TreeTest, DuplicateNameReplacesTheEarlierNodeInItsPlaceButTheSameNodeStays) {
  auto root = Namespace::New();
  auto first = Namespace::New();
  first->RegisterNamespaceNode(MakeCommand(), "old-child");
  root->RegisterNamespaceNode(first, "core");
  root->RegisterNamespaceNode(Namespace::New(), "nmp");
  auto second = Namespace::New();
  root->RegisterNamespaceNode(second, "core");

  EXPECT_EQ((std::vector<std::string>{"core", "nmp"}), ChildNames(*root));
  EXPECT_EQ(second, root->GetNamespaceNode("core"));
  EXPECT_TRUE(second->GetChildren().empty());
  EXPECT_EQ(root, second->GetParent());
  EXPECT_EQ(nullptr, first->GetParent());  // detached

  root->RegisterNamespaceNode(second, "core");  // the same node again: one entry
  EXPECT_EQ((std::vector<std::string>{"core", "nmp"}), ChildNames(*root));
  EXPECT_EQ(root, second->GetParent());
}

TEST(TreeTest, TheTreeDoesNotKeepItselfAlive) {
  std::weak_ptr<NamespaceNode> weak_child;
  {
    auto root = Namespace::New();
    auto child = Namespace::New();
    weak_child = child;
    root->RegisterNamespaceNode(child, "child");
  }
  EXPECT_TRUE(weak_child.expired());
}

TEST(TreeTest, ACommandMayNotTakeTheNameOfAGlobalOption) {
  const struct {
    const char* name;
    const char* short_name;
    bool refused;
  } cases[] = {
      {"format", "", true},   {"fields", "", true},  {"no-header", "", true}, {"store", "", true},
      {"help", "", true},     {"version", "", true}, {"dry-run", "", true},   {"host", "h", true},
      {"formats", "", false}, {"host", "H", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto spec = CallSpec::InputSpec::New();
    spec->AddParameter(Testing::Param(c.name, CallSpec::PARAM_STRING, c.short_name));
    auto root = Namespace::New();
    auto command = Testing::FakeCommand::New(spec, CallSpec::OutputSpec::New());
    if (c.refused) {
      EXPECT_THROW(root->RegisterNamespaceNode(command, "add"), CordraToolException);
      EXPECT_TRUE(root->GetChildren().empty());
    } else {
      root->RegisterNamespaceNode(command, "add");
      EXPECT_EQ(std::vector<std::string>{"add"}, ChildNames(*root));
    }
  }
}

TEST(CommandSpecTest, ASecondValueForAnOutputParameterReplacesTheFirstInPlace) {
  auto command = MakeCommand();
  command->SetDefaultOutputParameter("header:KovraSnapshot", "%Kovra UUID%");
  command->SetDefaultOutputParameter("fields:KovraSnapshot", "Volume Name");
  command->SetDefaultOutputParameter("header:KovraSnapshot", "%Volume Name%");
  EXPECT_EQ(
      command->GetDefaultOutputParameters(),
      (std::vector<std::pair<std::string, std::string>>{{"header:KovraSnapshot", "%Volume Name%"},
                                                        {"fields:KovraSnapshot", "Volume Name"}}));
}

}  // namespace
}  // namespace Cordra
