#include "commands/kovra/extent_list.h"
#include "commands/kovra/host_list.h"
#include "commands/kovra/lockmode_list.h"
#include "commands/kovra/lockmode_set.h"
#include "commands/kovra/pbcache.h"
#include "commands/kovra/reclaim_config.h"
#include "commands/kovra/snapshot_extent_list.h"
#include "commands/kovra/snapshot_list.h"
#include "commands/kovra/snapshot_mount.h"
#include "commands/kovra/snapshot_resignature.h"
#include "commands/kovra/volume_unmap.h"
#include "commands/kovra/volume_upgrade.h"
#include "plugin/subtrees.h"

namespace TarvexCli {

void RegisterKovraTree(const NodePtr& parent) {
  auto kovra = MakeNamespace("Kovra operations.");
  kovra->RegisterNamespaceNode(FileSystem::KovraVolumeUpgrade::New(), "upgrade");
  kovra->RegisterNamespaceNode(FileSystem::KovraVolumeUnmap::New(), "unmap");

  auto extent = MakeNamespace("Manage Kovra extents.");
  extent->RegisterNamespaceNode(FileSystem::KovraExtentList::New(), "list");
  kovra->RegisterNamespaceNode(extent, "extent");

  auto snapshot = MakeNamespace("Manage Kovra snapshots.");
  snapshot->RegisterNamespaceNode(FileSystem::KovraSnapshotList::New(), "list");
  snapshot->RegisterNamespaceNode(FileSystem::KovraSnapshotMount::New(), "mount");
  snapshot->RegisterNamespaceNode(FileSystem::KovraSnapshotResignature::New(), "resignature");
  auto snapshot_extent = MakeNamespace("Manage Kovra snapshot extents.");
  snapshot_extent->RegisterNamespaceNode(FileSystem::KovraSnapshotExtentList::New(), "list");
  snapshot->RegisterNamespaceNode(snapshot_extent, "extent");
  kovra->RegisterNamespaceNode(snapshot, "snapshot");

  auto lockmode = MakeNamespace("Manage Kovra array locking mode.");
  lockmode->RegisterNamespaceNode(FileSystem::KovraVolumeLockModeList::New(), "list");
  lockmode->RegisterNamespaceNode(FileSystem::KovraVolumeLockModeSet::New(), "set");
  kovra->RegisterNamespaceNode(lockmode, "lockmode");

  auto host = MakeNamespace("Manage hosts accessing a Kovra volume.");
  host->RegisterNamespaceNode(FileSystem::KovraVolumeHostList::New(), "list");
  kovra->RegisterNamespaceNode(host, "host");

  auto pbcache = MakeNamespace("Kovra Pointer Block Cache statistics.");
  pbcache->RegisterNamespaceNode(FileSystem::KovraPBCacheGet::New(), "get");
  pbcache->RegisterNamespaceNode(FileSystem::KovraPBCacheReset::New(), "reset");
  kovra->RegisterNamespaceNode(pbcache, "pbcache");

  auto reclaim = MakeNamespace("Manage Kovra Space Reclamation");
  auto config = MakeNamespace("Kovra Space Reclamation Configuration Settings");
  config->RegisterNamespaceNode(FileSystem::KovraReclaimConfigGet::New(), "get");
  config->RegisterNamespaceNode(FileSystem::KovraReclaimConfigSet::New(), "set");
  reclaim->RegisterNamespaceNode(config, "config");
  kovra->RegisterNamespaceNode(reclaim, "reclaim");

  parent->RegisterNamespaceNode(kovra, "kovra");
}

}  // namespace TarvexCli
