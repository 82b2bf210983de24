#include "hostctl/store/model_io.h"

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
      "DELETE FROM nfs_read_only_exports; DELETE FROM nfs_servers; DELETE FROM strelnics; "
      "DELETE FROM devices; DELETE FROM advanced_options; DELETE FROM features; "
      "DELETE FROM heaps; DELETE FROM faults; DELETE FROM events; DELETE FROM host;");
}

void WriteHostRow(Db& db, int64_t id, const HostModel& m) {
  Stmt stmt = db.Prepare(
      "INSERT INTO host(id, name, mac, up, psa_restores, iorm_signals, pb_cache_size, "
      "pb_cache_size_max, pb_working_set, pb_working_set_max, pb_heap_overhead, "
      "pb_capacity_miss_ratio) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  const PBCacheRecord& pb = m.pbcache;
  stmt.Bind(1, id).Bind(2, m.host).Bind(3, m.mac).Bind(4, m.up);
  stmt.Bind(5, m.psa_restores).Bind(6, m.iorm_signals);
  stmt.Bind(7, static_cast<int64_t>(pb.cache_size));
  stmt.Bind(8, static_cast<int64_t>(pb.cache_size_max));
  stmt.Bind(9, static_cast<int64_t>(pb.working_set));
  stmt.Bind(10, static_cast<int64_t>(pb.working_set_max));
  stmt.Bind(11, static_cast<int64_t>(pb.heap_overhead));
  stmt.Bind(12, int64_t{pb.capacity_miss_ratio});
  stmt.Run();
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
    int64_t pos = 0;
    for (const std::string& share : server.read_only_exports) {
      db.Prepare("INSERT INTO nfs_read_only_exports(server_id, pos, share) VALUES (?, ?, ?)")
          .Bind(1, id)
          .Bind(2, pos++)
          .Bind(3, share)
          .Run();
    }
  }
}

void WriteVolume(Db& db, int64_t host, const VolumeModel& model) {
  VolumeRecord volume = model.volume;
  volume.host_id = host;
  InsertVolume(db, volume);
  int64_t pos = 0;
  for (const ExtentRecord& extent : model.extents) {
    db.Prepare("INSERT INTO extents(volume_id, pos, device_id, partition) VALUES (?, ?, ?, ?)")
        .Bind(1, volume.id)
        .Bind(2, pos++)
        .Bind(3, DeviceId(db, extent.device))
        .Bind(4, int64_t{extent.partition})
        .Run();
  }
  pos = 0;
  for (const HeartbeatRecord& hb : model.heartbeats) {
    db.Prepare(
          "INSERT INTO heartbeats(volume_id, pos, uuid, mac, driver_major, driver_minor, "
          "offset, lock_mode, alive) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, volume.id)
        .Bind(2, pos++)
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

// What belongs to the host `id` alone, but its row and its volumes.
void WriteOwn(Db& db, int64_t id, const HostModel& m) {
  for (const auto& feature : m.features) {
    db.Prepare("INSERT INTO features(host_id, number, enabled) VALUES (?, ?, ?)")
        .Bind(1, id)
        .Bind(2, int64_t{feature.first})
        .Bind(3, feature.second)
        .Run();
  }
  for (const OptionRecord& o : m.options) {
    db.Prepare(
          "INSERT INTO advanced_options(host_id, grp, name, is_string, int_value, string_value) "
          "VALUES (?, ?, ?, ?, ?, ?)")
        .Bind(1, id)
        .Bind(2, o.group)
        .Bind(3, o.name)
        .Bind(4, o.is_string)
        .Bind(5, o.int_value)
        .Bind(6, o.string_value)
        .Run();
  }
  for (const std::string& name : m.strelnics) {
    db.Prepare("INSERT INTO strelnics(host_id, name) VALUES (?, ?)")
        .Bind(1, id)
        .Bind(2, name)
        .Run();
  }
  for (const HeapRecord& heap : m.heaps) {
    db.Prepare("INSERT INTO heaps(host_id, name, current, max) VALUES (?, ?, ?, ?)")
        .Bind(1, id)
        .Bind(2, heap.name)
        .Bind(3, static_cast<int64_t>(heap.current))
        .Bind(4, static_cast<int64_t>(heap.max))
        .Run();
  }
  for (const FaultRecord& f : m.faults) {
    db.Prepare(
          "INSERT INTO faults(host_id, operation, object, message, nth, times, calls, fired) "
          "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, id)
        .Bind(2, f.operation)
        .Bind(3, f.object)
        .Bind(4, f.message)
        .Bind(5, f.nth)
        .Bind(6, f.times)
        .Bind(7, f.calls)
        .Bind(8, f.fired)
        .Run();
  }
  for (const EventRecord& event : m.events) WriteEvent(db, id, event);
}

void ReadHostRow(Db& db, int64_t id, HostModel& m) {
  Stmt stmt = db.Prepare(
      "SELECT name, mac, up, psa_restores, iorm_signals, pb_cache_size, pb_cache_size_max, "
      "pb_working_set, pb_working_set_max, pb_heap_overhead, pb_capacity_miss_ratio "
      "FROM host WHERE id = ?");
  stmt.Bind(1, id);
  if (!stmt.Step()) return;
  m.host = stmt.Text(0);
  m.mac = stmt.Text(1);
  m.up = stmt.Int(2) != 0;
  m.psa_restores = stmt.Int(3);
  m.iorm_signals = stmt.Int(4);
  m.pbcache.cache_size = static_cast<uint64_t>(stmt.Int(5));
  m.pbcache.cache_size_max = static_cast<uint64_t>(stmt.Int(6));
  m.pbcache.working_set = static_cast<uint64_t>(stmt.Int(7));
  m.pbcache.working_set_max = static_cast<uint64_t>(stmt.Int(8));
  m.pbcache.heap_overhead = static_cast<uint64_t>(stmt.Int(9));
  m.pbcache.capacity_miss_ratio = static_cast<int32_t>(stmt.Int(10));
  stmt.Run();
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
    model.volume.host_id = 0;
    m.volumes.push_back(std::move(model));
  }
}

// What belongs to the host `id` alone, and its volumes.
void ReadOwn(Db& db, int64_t id, bool san, HostModel& m) {
  ReadHostRow(db, id, m);
  {
    Stmt stmt =
        db.Prepare("SELECT number, enabled FROM features WHERE host_id = ? ORDER BY number");
    stmt.Bind(1, id);
    while (stmt.Step()) m.features[static_cast<unsigned>(stmt.Int(0))] = stmt.Int(1);
  }
  {
    Stmt stmt = db.Prepare(
        "SELECT grp, name, is_string, int_value, string_value FROM advanced_options "
        "WHERE host_id = ? ORDER BY id");
    stmt.Bind(1, id);
    while (stmt.Step()) {
      m.options.push_back(
          {stmt.Text(0), stmt.Text(1), stmt.Int(2) != 0, stmt.Int(3), stmt.Text(4)});
    }
  }
  {
    Stmt stmt = db.Prepare("SELECT name FROM strelnics WHERE host_id = ? ORDER BY id");
    stmt.Bind(1, id);
    while (stmt.Step()) m.strelnics.push_back(stmt.Text(0));
  }
  ReadVolumes(db, id, san, m);
  {
    Stmt stmt = db.Prepare("SELECT name, current, max FROM heaps WHERE host_id = ? ORDER BY id");
    stmt.Bind(1, id);
    while (stmt.Step()) {
      m.heaps.push_back(
          {stmt.Text(0), static_cast<uint64_t>(stmt.Int(1)), static_cast<uint64_t>(stmt.Int(2))});
    }
  }
  m.faults = ReadFaults(db, id);
  m.events = ReadEvents(db, id);
}

}  // namespace

void WriteModel(Db& db, const HostModel& m) {
  Clear(db);
  // Every host first: a SAN volume gives each a view.
  WriteHostRow(db, 1, m);
  for (size_t i = 0; i < m.others.size(); ++i) WriteHostRow(db, 2 + i, m.others[i]);
  WriteOwn(db, 1, m);
  for (const DeviceRecord& d : m.devices) {
    db.Prepare("INSERT INTO devices(name, ats, attached) VALUES (?, ?, ?)")
        .Bind(1, d.name)
        .Bind(2, d.ats)
        .Bind(3, d.attached)
        .Run();
  }
  WriteServers(db, m);
  for (const VolumeModel& volume : m.volumes) WriteVolume(db, 1, volume);
  for (SnapshotRecord snapshot : m.snapshots) InsertSnapshot(db, snapshot, 0);
  for (size_t i = 0; i < m.others.size(); ++i) {
    const int64_t id = 2 + static_cast<int64_t>(i);
    const HostModel& other = m.others[i];
    WriteOwn(db, id, other);
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

int64_t AddHostRows(Db& db, const HostModel& host) {
  const int64_t id = db.QueryInt("SELECT coalesce(max(id), 0) + 1 FROM host");
  WriteHostRow(db, id, host);
  WriteOwn(db, id, host);
  return id;
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

std::vector<FaultRecord> ReadFaults(Db& db, int64_t host) {
  std::vector<FaultRecord> faults;
  Stmt stmt = db.Prepare(
      "SELECT id, operation, object, message, nth, times, calls, fired FROM faults "
      "WHERE host_id = ? ORDER BY id");
  stmt.Bind(1, host);
  while (stmt.Step()) {
    faults.push_back({stmt.Int(0), stmt.Text(1), stmt.Text(2), stmt.Text(3), stmt.Int(4),
                      stmt.Int(5), stmt.Int(6), stmt.Int(7)});
  }
  return faults;
}

std::vector<EventRecord> ReadEvents(Db& db, int64_t host) {
  std::vector<EventRecord> events;
  Stmt stmt = db.Prepare("SELECT time, event, input FROM events WHERE host_id = ? ORDER BY id");
  stmt.Bind(1, host);
  while (stmt.Step()) events.push_back({stmt.Text(0), stmt.Text(1), stmt.Blob(2)});
  return events;
}

void WriteEvent(Db& db, int64_t host, const EventRecord& event) {
  db.Prepare("INSERT INTO events(host_id, time, event, input) VALUES (?, ?, ?, ?)")
      .Bind(1, host)
      .Bind(2, event.time)
      .Bind(3, event.event)
      .BindBlob(4, event.input)
      .Run();
}

}  // namespace Sim
}  // namespace HostCtl
