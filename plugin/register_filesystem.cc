#include "commands/filesystem/host_action.h"
#include "commands/filesystem/volume_list.h"
#include "commands/filesystem/volume_mount.h"
#include "commands/filesystem/volume_unmount.h"
#include "plugin/subtrees.h"

namespace TarvexCli {

void RegisterFilesystemTree(const NodePtr& parent) {
  using namespace FileSystem;
  auto filesystem = MakeNamespace(
      "Operations pertaining to filesystems, also known as datastores, on the Orvane host.");
  filesystem->RegisterNamespaceNode(VolumeList::New(), "list");
  filesystem->RegisterNamespaceNode(VolumeRescan::New(), "rescan");
  filesystem->RegisterNamespaceNode(VolumeMount::New(), "mount");
  filesystem->RegisterNamespaceNode(VolumeUnmount::New(), "unmount");
  filesystem->RegisterNamespaceNode(VolumeAutomount::New(), "automount");
  parent->RegisterNamespaceNode(filesystem, "filesystem");
}

}  // namespace TarvexCli
