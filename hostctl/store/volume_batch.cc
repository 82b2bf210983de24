#include "hostctl/store/volume_batch.h"

#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {

const std::vector<std::shared_ptr<ExtentRecord>>& VolumeExtents(Db& db, VolumeRecord& volume) {
  if (!volume.batch) {
    volume.batch = std::make_shared<VolumeBatch>();
    volume.batch->host = volume.host_id;
  }
  return BatchExtents(db, *volume.batch, volume.id);
}

const std::vector<std::shared_ptr<ExtentRecord>>& BatchExtents(Db& db, VolumeBatch& batch,
                                                               int64_t id) {
  if (!batch.loaded) {
    // One query for the whole batch: a list command that reads the extents of
    // every volume it listed costs one statement, not one per volume.
    // A device the host cannot reach is not attached, as far as it knows.
    const char kSelect[] =
        "SELECT e.volume_id, d.name, e.partition, d.ats, d.attached AND NOT EXISTS (SELECT 1 "
        "FROM unreachable u WHERE u.host_id = ?1 AND u.device_id = d.id) FROM extents e "
        "JOIN devices d ON d.id = e.device_id";
    bool single = batch.volumes <= 1;
    Stmt stmt = db.Prepare(std::string(kSelect) + (single ? " WHERE e.volume_id = ?2" : "") +
                           " ORDER BY e.volume_id, e.pos");
    stmt.Bind(1, batch.host ? batch.host : Session::Get().HostId());
    if (single) stmt.Bind(2, id);
    while (stmt.Step()) {
      auto extent = std::make_shared<ExtentRecord>();
      extent->device = stmt.Text(1);
      extent->partition = static_cast<unsigned int>(stmt.Int(2));
      extent->ats = stmt.Int(3);
      extent->attached = stmt.Int(4);
      batch.extents[stmt.Int(0)].push_back(std::move(extent));
    }
    batch.loaded = true;
  }
  return batch.extents[id];
}

const NfsServerRecord* VolumeServer(Db& db, VolumeRecord& volume, const std::string& address) {
  if (!volume.batch) volume.batch = std::make_shared<VolumeBatch>();
  VolumeBatch& batch = *volume.batch;
  if (!batch.servers_loaded) {
    Stmt stmt = db.Prepare(
        "SELECT s.address, s.reachable, s.capacity, s.used, e.share FROM nfs_servers s "
        "LEFT JOIN nfs_read_only_exports e ON e.server_id = s.id ORDER BY s.id, e.pos");
    while (stmt.Step()) {
      NfsServerRecord& server = batch.servers[stmt.Text(0)];
      server.reachable = stmt.Int(1);
      server.capacity = stmt.Int(2);
      server.used = stmt.Int(3);
      if (!stmt.IsNull(4)) server.read_only_exports.push_back(stmt.Text(4));
    }
    batch.servers_loaded = true;
  }
  auto it = batch.servers.find(address);
  return it == batch.servers.end() ? nullptr : &it->second;
}

}  // namespace Sim
}  // namespace HostCtl
