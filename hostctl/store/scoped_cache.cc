#include "hostctl/store/scoped_cache.h"

#include <map>
#include <string>

#include "hostctl/rules/faults.h"
#include "hostctl/storage_info.h"
#include "hostctl/store/session.h"
#include "hostctl/store/snapshot_rows.h"

namespace HostCtl {
namespace Sim {
namespace {

struct Cache {
  int depth = 0;            // scopes alive
  uint64_t generation = 0;  // the session's generation the entries belong to
  std::map<std::string, VolumeSetRef> volumes;
  bool have_snapshots = false;
  std::vector<std::shared_ptr<SnapshotRecord>> snapshots;

  void Clear() {
    volumes.clear();
    snapshots.clear();
    have_snapshots = false;
  }
  // True when entries may be used (and kept) now.
  bool Usable() {
    if (depth == 0) return false;
    uint64_t now = Session::Get().generation();
    if (generation != now) {
      Clear();
      generation = now;
    }
    return true;
  }
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

std::string Key(const VolumeQuery& q) {
  std::string key = std::to_string(q.kind) + (q.mounted_only ? "m" : "-") +
                    (q.include_undiscovered ? "u" : "-") + (q.name_or_uuid ? "o" : "-") +
                    (q.summary ? "s" : "-");
  if (q.name) key += "|n=" + *q.name;
  if (q.uuid) key += "|u=" + *q.uuid;
  return key;
}

}  // namespace

VolumeSetRef QueryVolumes(const VolumeQuery& query) {
  Cache& cache = TheCache();
  if (!cache.Usable()) return VolumeSet::Load(Session::Get().db(), query);
  std::string key = Key(query);
  auto it = cache.volumes.find(key);
  if (it == cache.volumes.end()) {
    it = cache.volumes.emplace(key, VolumeSet::Load(Session::Get().db(), query)).first;
  }
  return it->second;
}

std::vector<std::shared_ptr<SnapshotRecord>> QuerySnapshots() {
  Cache& cache = TheCache();
  Session& session = Session::Get();
  if (!cache.Usable()) return LoadHostSnapshots(session.db(), session.HostId());
  if (!cache.have_snapshots) {
    cache.snapshots = LoadHostSnapshots(session.db(), session.HostId());
    cache.have_snapshots = true;
  }
  return cache.snapshots;
}

}  // namespace Sim

namespace Storage {

StorageInfoScopedCache::StorageInfoScopedCache(bool refresh) {
  Sim::CheckFault(Sim::Op::StorageInfoScopedCache);
  Sim::Cache& cache = Sim::TheCache();
  if (refresh || cache.depth == 0) cache.Clear();
  ++cache.depth;
}

StorageInfoScopedCache::~StorageInfoScopedCache() {
  Sim::Cache& cache = Sim::TheCache();
  if (--cache.depth == 0) cache.Clear();
}

}  // namespace Storage
}  // namespace HostCtl
