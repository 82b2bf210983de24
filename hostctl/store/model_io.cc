#include "hostctl/store/model_io.h"

#include "hostctl/store/host_rows.h"
#include "hostctl/store/snapshot_rows.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/volume_rows.h"

namespace HostCtl {
namespace Sim {
namespace {

void Clear(Db& db) {
  // Children before parents, so no foreign key is left dangling.
  db.Exec(
      "DELETE FROM snapshot_extents; DELETE FROM snapshots; DELETE FROM extents; "
      "DELETE FROM heartbeats; DELETE FROM volume_views; DELETE FROM volumes; "
      "DELETE FROM unreachable; "
      "DELETE FROM nfs_read_only_exports; DELETE FROM nfs_servers; DELETE FROM strelnics; "
      "DELETE FROM devices; DELETE FROM advanced_options; DELETE FROM features; "
      "DELETE FROM heaps; DELETE FROM faults; DELETE FROM events; DELETE FROM host;");
}

void WriteServers(Db& db, const HostModel& m) {
  for (const NfsServerRecord& server : m.servers) {
    db.Prepare("INSERT INTO nfs_servers(address, reachable, capacity, used) VALUES (?, ?, ?, ?)")
        .Bind(1, server.address)
        .Bind(2, server.reachable)
        .Bind(3, server.capacity)
        .Bind(4, server.used)
        .Run();
    int64_t id = db.LastInsertId();
    for (size_t pos = 0; pos < server.read_only_exports.size(); ++pos) {
      db.Prepare("INSERT INTO nfs_read_only_exports(server_id, pos, share) VALUES (?, ?, ?)")
          .Bind(1, id)
          .Bind(2, static_cast<int64_t>(pos))
          .Bind(3, server.read_only_exports[pos])
          .Run();
    }
  }
}

void WriteVolume(Db& db, int64_t host, const VolumeModel& model) {
  VolumeRecord volume = model.volume;
  volume.host_id = host;
  InsertVolume(db, volume);
  for (size_t pos = 0; pos < model.extents.size(); ++pos) {
    const ExtentRecord& extent = model.extents[pos];
    db.Prepare("INSERT INTO extents(volume_id, pos, device_id, partition) VALUES (?, ?, ?, ?)")
        .Bind(1, volume.id)
        .Bind(2, static_cast<int64_t>(pos))
        .Bind(3, DeviceId(db, extent.device))
        .Bind(4, int64_t{extent.partition})
        .Run();
  }
  for (size_t pos = 0; pos < model.heartbeats.size(); ++pos) {
    const HeartbeatRecord& hb = model.heartbeats[pos];
    db.Prepare(
          "INSERT INTO heartbeats(volume_id, pos, uuid, mac, driver_major, driver_minor, "
          "offset, lock_mode, alive) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, volume.id)
        .Bind(2, static_cast<int64_t>(pos))
        .Bind(3, hb.uuid)
        .Bind(4, hb.mac)
        .Bind(5, int64_t{hb.driver_major})
        .Bind(6, int64_t{hb.driver_minor})
        .Bind(7, hb.offset)
        .Bind(8, int64_t{hb.lock_mode})
        .Bind(9, hb.alive)
        .Run();
  }
  if (model.from_snapshot) {
    SnapshotRecord snapshot = *model.from_snapshot;
    InsertSnapshot(db, snapshot, volume.id);
  }
}

// Another host's view of a SAN volume the first host's part wrote.
void WriteView(Db& db, int64_t host, const VolumeModel& model) {
  VolumeRecord view = model.volume;
  view.host_id = host;
  Stmt find = db.Prepare("SELECT id FROM volumes WHERE type = 'Kovra' AND name = ?");
  find.Bind(1, view.name);
  if (!find.Step()) return;  // a loaded fixture names volumes of its SAN only
  view.id = find.Int(0);
  find.Run();
  SaveVolumeView(db, view);
}

void ReadServers(Db& db, HostModel& m) {
  std::vector<int64_t> ids;
  {
    Stmt stmt =
        db.Prepare("SELECT id, address, reachable, capacity, used FROM nfs_servers ORDER BY id");
    while (stmt.Step()) {
      ids.push_back(stmt.Int(0));
      NfsServerRecord server;
      server.address = stmt.Text(1);
      server.reachable = stmt.Int(2);
      server.capacity = stmt.Int(3);
      server.used = stmt.Int(4);
      m.servers.push_back(server);
    }
  }
  for (size_t i = 0; i < ids.size(); ++i) {
    Stmt stmt =
        db.Prepare("SELECT share FROM nfs_read_only_exports WHERE server_id = ? ORDER BY pos");
    stmt.Bind(1, ids[i]);
    while (stmt.Step()) m.servers[i].read_only_exports.push_back(stmt.Text(0));
  }
}

// The host's volumes; with `san`, a Kovra volume with its extents and
// heartbeats (the SAN's), else its name and the host's view only.
void ReadVolumes(Db& db, int64_t id, bool san, HostModel& m) {
  VolumeQuery everything;
  everything.include_undiscovered = true;
  everything.host = id;
  for (VolumeRecord& record : LoadVolumes(db, everything)) {
    VolumeModel model;
    if (san) {
      for (const auto& extent : VolumeExtents(db, record)) model.extents.push_back(*extent);
      model.heartbeats = ReadHeartbeats(db, record.id);
      model.from_snapshot = LoadSnapshotMountedAs(db, record.id);
    }
    model.volume = record;
    model.volume.batch = nullptr;
    m.volumes.push_back(std::move(model));
  }
}

// What belongs to the host `id` alone, and its volumes.
void ReadOwn(Db& db, int64_t id, bool san, HostModel& m) {
  ReadHostParts(db, id, m);
  ReadVolumes(db, id, san, m);
}

}  // namespace

void WriteModel(Db& db, const HostModel& m) {
  Clear(db);
  // Every host first: a SAN volume gives each a view.
  WriteHostRow(db, 1, m);
  for (size_t i = 0; i < m.others.size(); ++i) WriteHostRow(db, 2 + i, m.others[i]);
  WriteHostParts(db, 1, m);
  for (const DeviceRecord& d : m.devices) {
    db.Prepare("INSERT INTO devices(name, ats, attached) VALUES (?, ?, ?)")
        .Bind(1, d.name)
        .Bind(2, d.ats)
        .Bind(3, d.attached)
        .Run();
  }
  WriteUnreachable(db, 1, m);
  WriteServers(db, m);
  for (const VolumeModel& volume : m.volumes) WriteVolume(db, 1, volume);
  for (SnapshotRecord snapshot : m.snapshots) InsertSnapshot(db, snapshot, 0);
  for (size_t i = 0; i < m.others.size(); ++i) {
    const int64_t id = 2 + static_cast<int64_t>(i);
    const HostModel& other = m.others[i];
    WriteHostParts(db, id, other);
    WriteUnreachable(db, id, other);
    for (const VolumeModel& volume : other.volumes) {
      if (volume.volume.IsKovra()) {
        WriteView(db, id, volume);
      } else {
        WriteVolume(db, id, volume);
      }
    }
  }
}

HostModel ReadModel(Db& db) {
  std::vector<int64_t> hosts;
  {
    Stmt stmt = db.Prepare("SELECT id FROM host ORDER BY id");
    while (stmt.Step()) hosts.push_back(stmt.Int(0));
  }
  HostModel m;
  if (hosts.empty()) return m;
  ReadOwn(db, hosts.front(), true, m);
  {
    Stmt stmt = db.Prepare("SELECT name, ats, attached FROM devices ORDER BY id");
    while (stmt.Step()) m.devices.push_back({stmt.Text(0), stmt.Int(1) != 0, stmt.Int(2) != 0});
  }
  ReadServers(db, m);
  for (const auto& snapshot : LoadUnresolvedSnapshots(db)) m.snapshots.push_back(*snapshot);
  for (size_t i = 1; i < hosts.size(); ++i) ReadOwn(db, hosts[i], false, m.others.emplace_back());
  return m;
}

std::vector<HeartbeatRecord> ReadHeartbeats(Db& db, int64_t volume_id) {
  std::vector<HeartbeatRecord> heartbeats;
  Stmt stmt = db.Prepare(
      "SELECT uuid, mac, driver_major, driver_minor, offset, lock_mode, alive FROM heartbeats "
      "WHERE volume_id = ? ORDER BY pos");
  stmt.Bind(1, volume_id);
  while (stmt.Step()) {
    HeartbeatRecord hb;
    hb.uuid = stmt.Text(0);
    hb.mac = stmt.Text(1);
    hb.driver_major = static_cast<uint32_t>(stmt.Int(2));
    hb.driver_minor = static_cast<uint32_t>(stmt.Int(3));
    hb.offset = stmt.Int(4);
    hb.lock_mode = static_cast<uint8_t>(stmt.Int(5));
    hb.alive = stmt.Int(6);
    heartbeats.push_back(hb);
  }
  return heartbeats;
}

}  // namespace Sim
}  // namespace HostCtl
