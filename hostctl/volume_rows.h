// The volumes table as VolumeRecords: one column list shared by every read
// and write, bulk loading, and the extents of a query's volumes.
#ifndef HOSTCTL_VOLUME_ROWS_H_
#define HOSTCTL_VOLUME_ROWS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostctl/records.h"

namespace HostCtl {
namespace Sim {

class Db;

// Which volumes a query loads. Volumes the host has not discovered are left
// out unless asked for.
struct VolumeQuery {
  enum Kind { kAny, kKovra, kNfs3, kNfs41, kNas };
  Kind kind = kAny;
  const std::string* name = nullptr;  // exact label
  const std::string* uuid = nullptr;  // exact UUID
  bool name_or_uuid = false;          // `name` matches the label or the UUID
  bool mounted_only = false;
  bool include_undiscovered = false;
  // Reads only what a listing shows (type, names, state, sizes, version);
  // the Kovra and NAS fields are read on first use, for the whole batch.
  bool summary = false;
};

// Volumes in host order, each with its own record; all share one batch.
std::vector<std::shared_ptr<VolumeRecord>> LoadVolumes(Db& db, const VolumeQuery& query);
// The volume of that row id, or null when it is gone.
std::shared_ptr<VolumeRecord> LoadVolumeById(Db& db, int64_t id);

// `volume` with every field read: for a summary query's record, the fields
// it left out are read for all records of its batch at once.
VolumeRecord& CompleteVolume(Db& db, VolumeRecord& volume);

// Writes every column of `volume` (by its id), or inserts it and sets its id.
// Requires a complete record.
void SaveVolume(Db& db, const VolumeRecord& volume);
void InsertVolume(Db& db, VolumeRecord& volume);

// The extents of `volume`, read for every volume of its batch at once.
const std::vector<std::shared_ptr<ExtentRecord>>& VolumeExtents(Db& db, VolumeRecord& volume);

// The NFS server at `address` as the batch of `volume` saw it, or null when
// the host has no record of it (a server it knows nothing bad about).
const NfsServerRecord* VolumeServer(Db& db, VolumeRecord& volume, const std::string& address);

std::string JoinHosts(const std::vector<std::string>& hosts);
std::vector<std::string> SplitHosts(const std::string& text);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_VOLUME_ROWS_H_
