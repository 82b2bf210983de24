#include "commands/nfs/nfs_volume_add.h"
#include "commands/nfs/nfs_volume_list.h"
#include "commands/nfs/nfs_volume_param.h"
#include "commands/nfs/nfs_volume_preunmount.h"
#include "commands/nfs/nfs_volume_remove.h"
#include "hostctl/lib.h"
#include "plugin/subtrees.h"

namespace TarvexCli {

void RegisterNfsTree(const NodePtr& parent) {
  using namespace FileSystem;
  auto nfs = MakeNamespace(
      "Operations to create, manage, and remove Network Attached Storage filesystems.");
  nfs->RegisterNamespaceNode(NFSVolumeAdd::New(), "add");
  nfs->RegisterNamespaceNode(NFSVolumeRemove::New(), "remove");
  nfs->RegisterNamespaceNode(NFSVolumeList::New(), "list");
  // The preunmount commands exist only on hosts that support the state.
  if (*HostCtl::FeatureList[HostCtl::FEATURE_NAS_PREUNMOUNT]) {
    auto preunmount = MakeNamespace("Enter or exit preunmount state.");
    preunmount->RegisterNamespaceNode(NFSVolumePreunmountEnter::New(), "enter");
    preunmount->RegisterNamespaceNode(NFSVolumePreunmountExit::New(), "exit");
    nfs->RegisterNamespaceNode(preunmount, "preunmountstate");
  }
  auto param = MakeNamespace("Operations on volume parameters of NAS filesystems.");
  param->RegisterNamespaceNode(NFSVolumeParamGet::New(), "get");
  param->RegisterNamespaceNode(NFSVolumeParamSet::New(), "set");
  nfs->RegisterNamespaceNode(param, "param");
  parent->RegisterNamespaceNode(nfs, "nfs");
}

}  // namespace TarvexCli
