// The entry points and the tree they build. The exact paths and descriptions
// are those of docs/commands.md, which release.reference_up_to_date checks
// against the tree tarvexcli loads; here, what each entry point adds, and
// that neither breaks a host's tree.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cordra/cordra.h"
#include "hostctl/rules/sim.h"
#include "plugin/entry_points.h"

namespace {

using Cordra::AutoCli::Namespace;
using Cordra::AutoCli::NamespaceNode;

// The path of every node under `node`, depth first; commands end in "!" and
// the output format they ask for by default, if any.
void Walk(const NamespaceNode& node, const std::string& prefix, std::vector<std::string>& out) {
  for (const auto& child : node.GetChildren()) {
    const std::string path = prefix.empty() ? child.first : prefix + " " + child.first;
    const auto* command = dynamic_cast<const Cordra::AutoCli::CommandSpec*>(child.second.get());
    out.push_back(path + (command ? "!" + command->GetDefaultOutputFormatter() : ""));
    Walk(*child.second, path, out);
  }
}

std::vector<std::string> Children(const NamespaceNode& node) {
  std::vector<std::string> names;
  for (const auto& child : node.GetChildren()) names.push_back(child.first);
  return names;
}

class RegistrationTest : public ::testing::Test {
 protected:
  // A host tree as the framework makes it: a root holding `storage`.
  void SetUp() override {
    HostCtl::Sim::UseInMemoryHost(R"({"format": 1, "features": {"284": true}})");
    root_ = Namespace::New();
    root_->SetName("root");
    storage_ = Namespace::New();
    root_->RegisterNamespaceNode(storage_, "storage");
  }

  std::vector<std::string> Tree() const {
    std::vector<std::string> nodes;
    Walk(*storage_, "", nodes);
    return nodes;
  }

  std::shared_ptr<Namespace> root_;
  std::shared_ptr<Namespace> storage_;
};

TEST_F(RegistrationTest, EntryPointsBuildTheirSubtreesOnceEvenWhenCalledTwice) {
  AutoCli_RegisterNamespaces(root_);
  EXPECT_EQ(Children(*storage_), (std::vector<std::string>{"internal"}));
  EXPECT_EQ(Children(*storage_->GetNamespaceNode("internal")),
            (std::vector<std::string>{"core", "nmp", "clusteredkadisk"}));
  FilesystemNfs_RegisterNamespaces(storage_);
  EXPECT_EQ(Children(*storage_),
            (std::vector<std::string>{"internal", "filesystem", "nfs", "nfs41", "kovra"}));
  const std::vector<std::string> once = Tree();
  EXPECT_EQ(once.size(), 54u);
  EXPECT_EQ(std::set<std::string>(once.begin(), once.end()).size(), once.size());
  // The listings ask for the format their rows read best in.
  std::vector<std::string> formats;
  for (const std::string& node : once) {
    const size_t bang = node.find('!');
    if (bang != std::string::npos && bang + 1 < node.size()) formats.push_back(node);
  }
  EXPECT_EQ(formats, (std::vector<std::string>{
                         "internal clusteredkadisk get!simple", "filesystem list!table",
                         "nfs list!table", "nfs param get!table", "nfs41 list!table",
                         "nfs41 param get!table", "kovra extent list!table",
                         "kovra snapshot list!simple", "kovra snapshot extent list!table",
                         "kovra lockmode list!table", "kovra host list!table",
                         "kovra pbcache get!simple", "kovra reclaim config get!simple"}));
  // A command carries the name it is registered under.
  auto restore = storage_->GetNamespaceNode("internal")
                     ->GetNamespaceNode("nmp")
                     ->GetNamespaceNode("boot")
                     ->GetNamespaceNode("restore");
  ASSERT_TRUE(restore && restore->IsCommand());
  EXPECT_EQ(restore->GetName(), "restore");

  AutoCli_RegisterNamespaces(root_);
  FilesystemNfs_RegisterNamespaces(storage_);
  EXPECT_EQ(Tree(), once);
}

TEST_F(RegistrationTest, ExistingInternalNamespaceIsReusedWithItsDescription) {
  auto internal = Namespace::New();
  internal->SetDescription("The host's own internal commands.");
  storage_->RegisterNamespaceNode(internal, "internal");

  Core_RegisterInternalNamespaces(root_);
  EXPECT_EQ(storage_->GetNamespaceNode("internal"), internal);
  EXPECT_EQ(internal->GetDescription(), "The host's own internal commands.");
  EXPECT_EQ(Children(*internal), (std::vector<std::string>{"core", "nmp", "clusteredkadisk"}));
}

TEST_F(RegistrationTest, RootWithoutStorageIsRefusedAndLeftUnchanged) {
  auto bare = Namespace::New();
  bare->SetName("hostroot");
  try {
    AutoCli_RegisterNamespaces(bare);
    FAIL() << "expected CordraToolException";
  } catch (const Cordra::CordraToolException& e) {
    EXPECT_STREQ(e.what(), "Unable to find 'storage' namespace in namespace 'hostroot'");
  }
  EXPECT_TRUE(bare->GetChildren().empty());
}

}  // namespace
