// The volumes table as VolumeRecords: one column list shared by every read
// and write, bulk loading, and the extents of a query's volumes.
#ifndef HOSTCTL_STORE_VOLUME_ROWS_H_
#define HOSTCTL_STORE_VOLUME_ROWS_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostctl/store/records.h"
#include "hostctl/store/volume_batch.h"

namespace HostCtl {
namespace Sim {

class Db;
class Stmt;

// Which volumes a query loads. Volumes the host has not discovered are left
// out unless asked for.
struct VolumeQuery {
  enum Kind { kAny, kKovra, kNfs3, kNfs41 };
  Kind kind = kAny;
  const std::string* name = nullptr;  // exact label
  const std::string* uuid = nullptr;  // exact UUID
  bool name_or_uuid = false;          // `name` matches the label or the UUID
  bool mounted_only = false;
  bool include_undiscovered = false;
  int64_t host = 0;  // whose view: 0 for the session's host
  // Reads only what a listing shows (type, names, state, sizes, version);
  // the Kovra and NAS fields are read on first use, for the whole set (see
  // VolumeSet).
  bool summary = false;
};

// Volumes in host order, every field read; all share one batch.
std::vector<VolumeRecord> LoadVolumes(Db& db, const VolumeQuery& query);
// The volume of that row id as the session's host sees it, or nullopt when
// it is gone.
std::optional<VolumeRecord> LoadVolumeById(Db& db, int64_t id);

// The rows of a query in host order: the id and the summary columns with
// query.summary, else every column. Read them with ReadVolumeSummary and,
// for every column, ReadVolumeDetails.
Stmt SelectVolumes(Db& db, const VolumeQuery& query);
// Every column of the rows with ids from `first` to `last` as host `host`
// sees them, in id order.
Stmt SelectVolumeRange(Db& db, int64_t host, int64_t first, int64_t last);
// The id and the summary fields of the current row into `v`; its strings
// keep their buffers, so one record can read every row of a listing.
void ReadVolumeSummary(const Stmt& row, VolumeRecord* v);
// The other fields, from a row that has every column.
void ReadVolumeDetails(const Stmt& row, VolumeRecord* v);

// Writes every column of `volume` (by its id; its view by its host's id).
void SaveVolume(Db& db, const VolumeRecord& volume);
// Writes the per-host columns only: the view of host `volume.host_id`.
void SaveVolumeView(Db& db, const VolumeRecord& volume);
// Inserts `volume` and sets its id, with its view for its host (the
// session's when host_id is 0, which it is then set to). A Kovra volume is
// on the SAN: every other host gets a view of it that has not found it.
void InsertVolume(Db& db, VolumeRecord& volume);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_VOLUME_ROWS_H_
