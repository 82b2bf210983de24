#include "commands/nfs41/nfs41_volume_add.h"
#include "commands/nfs41/nfs41_volume_list.h"
#include "commands/nfs41/nfs41_volume_param.h"
#include "commands/nfs41/nfs41_volume_remove.h"
#include "plugin/subtrees.h"

namespace TarvexCli {

void RegisterNfs41Tree(const NodePtr& parent) {
  using namespace FileSystem;
  auto nfs41 = MakeNamespace("Operations to create, manage, and remove NFS v4.1 filesystems.");
  nfs41->RegisterNamespaceNode(NFS41VolumeAdd::New(), "add");
  nfs41->RegisterNamespaceNode(NFS41VolumeRemove::New(), "remove");
  nfs41->RegisterNamespaceNode(NFS41VolumeList::New(), "list");
  auto param = MakeNamespace("Operations on volume parameters of NFS v4.1 filesystems.");
  param->RegisterNamespaceNode(NFS41VolumeParamGet::New(), "get");
  param->RegisterNamespaceNode(NFS41VolumeParamSet::New(), "set");
  nfs41->RegisterNamespaceNode(param, "param");
  parent->RegisterNamespaceNode(nfs41, "nfs41");
}

}  // namespace TarvexCli
