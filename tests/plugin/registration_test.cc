// The entry points and the tree they build, checked against the tree a host
// administrator is documented to see.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cordra/cordra.h"
#include "hostctl/sim.h"
#include "plugin/entry_points.h"

namespace {

using Cordra::AutoCli::Namespace;
using Cordra::AutoCli::NamespaceNode;

struct Node {
  std::string path;
  bool command;
  std::string description;
};

// Every node under `storage`, depth first in registration order.
const std::vector<Node> kTree = {
    {"internal", false, "Tarvex internal storage commands."},
    {"internal core", false,
     "Tarvex core storage commands. No operations are currently internal only."},
    {"internal nmp", false,
     "Tarvex Native Multipath Plugin (NMP). This is the Tarvex default implementation of the "
     "Pluggable Storage Architecture."},
    {"internal nmp boot", false,
     "Operations pertaining to the boot time configuration of the NMP plugin."},
    {"internal nmp boot restore", true, "Used to restore configuration state at boot time."},
    {"internal clusteredkadisk", false, "Manage clustered Kadisk support."},
    {"internal clusteredkadisk get", true, "Get information about clustered Kadisk support."},
    {"internal clusteredkadisk set", true, "Enable or disable clustered Kadisk support."},
    {"filesystem", false,
     "Operations pertaining to filesystems, also known as datastores, on the Orvane host."},
    {"filesystem list", true,
     "List the volumes available to the host. This includes Kovra, NAS, VFAT and UFS "
     "partitions."},
    {"filesystem rescan", true, "Scan storage devices for new mountable filesystems."},
    {"filesystem mount", true, "Connect to and mount an unmounted volume on the Orvane host."},
    {"filesystem unmount", true,
     "Disconnect and unmount and existing Kovra or NAS volume. This will not delete the "
     "configuration for the volume, but will remove the volume from the list of mounted "
     "volumes."},
    {"filesystem automount", true,
     "Request mounting of known datastores not explicitly unmounted."},
    {"nfs", false,
     "Operations to create, manage, and remove Network Attached Storage filesystems."},
    {"nfs add", true,
     "Add a new NAS volume to the Orvane Host and mount it with the given volume name."},
    {"nfs remove", true, "Remove an existing NAS volume from the Orvane host."},
    {"nfs list", true, "List the NAS volumes currently known to the Orvane host."},
    {"nfs preunmountstate", false, "Enter or exit preunmount state."},
    {"nfs preunmountstate enter", true, "Enter NAS volume to preunmount state."},
    {"nfs preunmountstate exit", true, "Exit NAS volume from preunmount state."},
    {"nfs param", false, "Operations on volume parameters of NAS filesystems."},
    {"nfs param get", true, "Get the volume parameters of the NAS volumes."},
    {"nfs param set", true, "Set the volume parameters of the NAS volumes."},
    {"nfs41", false, "Operations to create, manage, and remove NFS v4.1 filesystems."},
    {"nfs41 add", true,
     "Add a new NFS v4.1 volume to the Orvane Host and mount it with the given volume name."},
    {"nfs41 remove", true, "Remove an existing NFS v4.1 volume from the Orvane host."},
    {"nfs41 list", true, "List the NFS v4.1 volumes currently known to the Orvane host."},
    {"nfs41 param", false, "Operations on volume parameters of NFS v4.1 filesystems."},
    {"nfs41 param get", true, "Get the volume parameters of the NFS v4.1 volumes."},
    {"nfs41 param set", true, "Set the volume parameters of the NFS v4.1 volumes."},
    {"kovra", false, "Kovra operations."},
    {"kovra upgrade", true, "Upgrade a Kovra3 volume to Kovra5."},
    {"kovra unmap", true, "Reclaim the space by unmapping free blocks from Kovra Volume"},
    {"kovra extent", false, "Manage Kovra extents."},
    {"kovra extent list", true, "List the Kovra extents available on the host."},
    {"kovra snapshot", false, "Manage Kovra snapshots."},
    {"kovra snapshot list", true, "List unresolved snapshots/replicas of Kovra volume."},
    {"kovra snapshot mount", true, "Mount a snapshot/replica of a Kovra volume."},
    {"kovra snapshot resignature", true, "Resignature a snapshot/replica of a Kovra volume."},
    {"kovra snapshot extent", false, "Manage Kovra snapshot extents."},
    {"kovra snapshot extent list", true,
     "List extents of unresolved snapshots/replicas of Kovra volume."},
    {"kovra lockmode", false, "Manage Kovra array locking mode."},
    {"kovra lockmode list", true,
     "List the on-disk critical section locking mode for Kovra volumes available on this host."},
    {"kovra lockmode set", true,
     "Update the on-disk critical section locking mode for a particular Kovra Volume."},
    {"kovra host", false, "Manage hosts accessing a Kovra volume."},
    {"kovra host list", true, "List hosts accessing a particular Kovra Volume."},
    {"kovra pbcache", false, "Kovra Pointer Block Cache statistics."},
    {"kovra pbcache get", true, "Get Kovra Pointer Block cache statistics."},
    {"kovra pbcache reset", true, "Reset the Kovra Pointer Block cache statistics."},
    {"kovra reclaim", false, "Manage Kovra Space Reclamation"},
    {"kovra reclaim config", false, "Kovra Space Reclamation Configuration Settings"},
    {"kovra reclaim config get", true, "Get space reclamation configuration parameters"},
    {"kovra reclaim config set", true, "Set space reclamation configuration parameters"},
};

void Walk(const NamespaceNode& node, const std::string& prefix, std::vector<Node>& out) {
  for (const auto& child : node.GetChildren()) {
    const std::string path = prefix.empty() ? child.first : prefix + " " + child.first;
    out.push_back({path, child.second->IsCommand(), child.second->GetDescription()});
    Walk(*child.second, path, out);
  }
}

class RegistrationTest : public ::testing::Test {
 protected:
  // A host tree as the framework makes it: a root holding `storage`.
  void MakeHostTree(bool preunmount_feature) {
    HostCtl::Sim::UseInMemoryHost(std::string(R"({"format": 1, "features": {"284": )") +
                                  (preunmount_feature ? "true" : "false") + "}}");
    root_ = Namespace::New();
    root_->SetName("root");
    storage_ = Namespace::New();
    root_->RegisterNamespaceNode(storage_, "storage");
  }

  std::vector<Node> Tree() const {
    std::vector<Node> nodes;
    Walk(*storage_, "", nodes);
    return nodes;
  }

  std::shared_ptr<Namespace> root_;
  std::shared_ptr<Namespace> storage_;
};

TEST_F(RegistrationTest, BothEntryPointsBuildTheWholeTree) {
  MakeHostTree(true);
  AutoCli_RegisterNamespaces(root_);
  FilesystemNfs_RegisterNamespaces(storage_);

  const std::vector<Node> tree = Tree();
  ASSERT_EQ(tree.size(), kTree.size());
  for (size_t i = 0; i < tree.size(); ++i) {
    EXPECT_EQ(tree[i].path, kTree[i].path);
    EXPECT_EQ(tree[i].command, kTree[i].command) << tree[i].path;
    EXPECT_EQ(tree[i].description, kTree[i].description) << tree[i].path;
  }
  int commands = 0;
  for (const Node& node : tree) commands += node.command;
  EXPECT_EQ(commands, 34);
}

TEST_F(RegistrationTest, PreunmountStateExistsOnlyWithItsFeature) {
  MakeHostTree(false);
  FilesystemNfs_RegisterNamespaces(storage_);
  auto nfs = storage_->GetNamespaceNode("nfs");
  ASSERT_TRUE(nfs);
  EXPECT_FALSE(nfs->HasNamespaceNode("preunmountstate"));
  std::vector<std::string> children;
  for (const auto& child : nfs->GetChildren()) children.push_back(child.first);
  EXPECT_EQ(children, (std::vector<std::string>{"add", "remove", "list", "param"}));
}

TEST_F(RegistrationTest, RootEntryPointAloneGivesOnlyTheInternalSubtree) {
  MakeHostTree(true);
  AutoCli_RegisterNamespaces(root_);
  ASSERT_EQ(storage_->GetChildren().size(), 1u);
  EXPECT_EQ(storage_->GetChildren()[0].first, "internal");
  auto internal = storage_->GetNamespaceNode("internal");
  std::vector<std::string> children;
  for (const auto& child : internal->GetChildren()) children.push_back(child.first);
  EXPECT_EQ(children, (std::vector<std::string>{"core", "nmp", "clusteredkadisk"}));

  // The boot-restore command carries the name it is registered under.
  auto restore =
      internal->GetNamespaceNode("nmp")->GetNamespaceNode("boot")->GetNamespaceNode("restore");
  ASSERT_TRUE(restore);
  EXPECT_EQ(restore->GetName(), "restore");
  EXPECT_TRUE(restore->IsCommand());
}

TEST_F(RegistrationTest, ExistingInternalNamespaceIsReusedWithItsDescription) {
  MakeHostTree(true);
  auto internal = Namespace::New();
  internal->SetDescription("The host's own internal commands.");
  storage_->RegisterNamespaceNode(internal, "internal");

  Core_RegisterInternalNamespaces(root_);
  EXPECT_EQ(storage_->GetNamespaceNode("internal"), internal);
  EXPECT_EQ(internal->GetDescription(), "The host's own internal commands.");
  EXPECT_TRUE(internal->HasNamespaceNode("core"));
  EXPECT_TRUE(internal->HasNamespaceNode("nmp"));
  EXPECT_TRUE(internal->HasNamespaceNode("clusteredkadisk"));
}

TEST_F(RegistrationTest, RootWithoutStorageIsRefusedAndLeftUnchanged) {
  MakeHostTree(true);
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

TEST_F(RegistrationTest, RegisteringTwiceLeavesTheSameTree) {
  MakeHostTree(true);
  AutoCli_RegisterNamespaces(root_);
  FilesystemNfs_RegisterNamespaces(storage_);
  const std::vector<Node> once = Tree();
  AutoCli_RegisterNamespaces(root_);
  FilesystemNfs_RegisterNamespaces(storage_);
  const std::vector<Node> twice = Tree();
  ASSERT_EQ(once.size(), twice.size());
  for (size_t i = 0; i < once.size(); ++i) EXPECT_EQ(once[i].path, twice[i].path);
}

}  // namespace
