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
      "DELETE FROM heartbeats; DELETE FROM volumes; DELETE FROM nfs_read_only_exports; "
      "DELETE FROM nfs_servers; DELETE FROM strelnics; DELETE FROM devices; "
      "DELETE FROM advanced_options; DELETE FROM features; DELETE FROM heaps; "
      "DELETE FROM faults; DELETE FROM events;");
}

void WriteHostRow(Db& db, const HostModel& m) {
  Stmt stmt = db.Prepare(
      "UPDATE host SET name = ?, psa_restores = ?, iorm_signals = ?, pb_cache_size = ?, "
      "pb_cache_size_max = ?, pb_working_set = ?, pb_working_set_max = ?, pb_heap_overhead = ?, "
      "pb_capacity_miss_ratio = ?");
  const PBCacheRecord& pb = m.pbcache;
  stmt.Bind(1, m.host).Bind(2, m.psa_restores).Bind(3, m.iorm_signals);
  stmt.Bind(4, static_cast<int64_t>(pb.cache_size));
  stmt.Bind(5, static_cast<int64_t>(pb.cache_size_max));
  stmt.Bind(6, static_cast<int64_t>(pb.working_set));
  stmt.Bind(7, static_cast<int64_t>(pb.working_set_max));
  stmt.Bind(8, static_cast<int64_t>(pb.heap_overhead));
  stmt.Bind(9, int64_t{pb.capacity_miss_ratio});
  stmt.Run();
}

void WriteNetwork(Db& db, const HostModel& m) {
  for (const std::string& name : m.strelnics) {
    db.Prepare("INSERT INTO strelnics(name) VALUES (?)").Bind(1, name).Run();
  }
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

void WriteVolume(Db& db, const VolumeModel& model) {
  VolumeRecord volume = model.volume;
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

void WriteEvents(Db& db, const std::vector<EventRecord>& events) {
  for (const EventRecord& event : events) {
    db.Prepare("INSERT INTO events(time, event, input) VALUES (?, ?, ?)")
        .Bind(1, event.time)
        .Bind(2, event.event)
        .BindBlob(3, event.input)
        .Run();
  }
}

void ReadHostRow(Db& db, HostModel& m) {
  Stmt stmt = db.Prepare(
      "SELECT name, psa_restores, iorm_signals, pb_cache_size, pb_cache_size_max, "
      "pb_working_set, pb_working_set_max, pb_heap_overhead, pb_capacity_miss_ratio FROM host");
  if (!stmt.Step()) return;
  m.host = stmt.Text(0);
  m.psa_restores = stmt.Int(1);
  m.iorm_signals = stmt.Int(2);
  m.pbcache.cache_size = static_cast<uint64_t>(stmt.Int(3));
  m.pbcache.cache_size_max = static_cast<uint64_t>(stmt.Int(4));
  m.pbcache.working_set = static_cast<uint64_t>(stmt.Int(5));
  m.pbcache.working_set_max = static_cast<uint64_t>(stmt.Int(6));
  m.pbcache.heap_overhead = static_cast<uint64_t>(stmt.Int(7));
  m.pbcache.capacity_miss_ratio = static_cast<int32_t>(stmt.Int(8));
}

void ReadNetwork(Db& db, HostModel& m) {
  {
    Stmt stmt = db.Prepare("SELECT name FROM strelnics ORDER BY id");
    while (stmt.Step()) m.strelnics.push_back(stmt.Text(0));
  }
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

void ReadVolumes(Db& db, HostModel& m) {
  VolumeQuery everything;
  everything.include_undiscovered = true;
  for (VolumeRecord& record : LoadVolumes(db, everything)) {
    VolumeModel model;
    for (const auto& extent : VolumeExtents(db, record)) model.extents.push_back(*extent);
    model.volume = record;
    model.volume.batch = nullptr;
    Stmt stmt = db.Prepare(
        "SELECT uuid, mac, driver_major, driver_minor, offset, lock_mode, alive FROM heartbeats "
        "WHERE volume_id = ? ORDER BY pos");
    stmt.Bind(1, record.id);
    while (stmt.Step()) {
      HeartbeatRecord hb;
      hb.uuid = stmt.Text(0);
      hb.mac = stmt.Text(1);
      hb.driver_major = static_cast<uint32_t>(stmt.Int(2));
      hb.driver_minor = static_cast<uint32_t>(stmt.Int(3));
      hb.offset = stmt.Int(4);
      hb.lock_mode = static_cast<uint8_t>(stmt.Int(5));
      hb.alive = stmt.Int(6);
      model.heartbeats.push_back(hb);
    }
    model.from_snapshot = LoadSnapshotMountedAs(db, record.id);
    m.volumes.push_back(std::move(model));
  }
}

}  // namespace

void WriteModel(Db& db, const HostModel& m) {
  Clear(db);
  WriteHostRow(db, m);
  for (const auto& feature : m.features) {
    db.Prepare("INSERT INTO features(number, enabled) VALUES (?, ?)")
        .Bind(1, int64_t{feature.first})
        .Bind(2, feature.second)
        .Run();
  }
  for (const OptionRecord& o : m.options) {
    db.Prepare(
          "INSERT INTO advanced_options(grp, name, is_string, int_value, string_value) "
          "VALUES (?, ?, ?, ?, ?)")
        .Bind(1, o.group)
        .Bind(2, o.name)
        .Bind(3, o.is_string)
        .Bind(4, o.int_value)
        .Bind(5, o.string_value)
        .Run();
  }
  for (const DeviceRecord& d : m.devices) {
    db.Prepare("INSERT INTO devices(name, ats, attached) VALUES (?, ?, ?)")
        .Bind(1, d.name)
        .Bind(2, d.ats)
        .Bind(3, d.attached)
        .Run();
  }
  WriteNetwork(db, m);
  for (const VolumeModel& volume : m.volumes) WriteVolume(db, volume);
  for (SnapshotRecord snapshot : m.snapshots) InsertSnapshot(db, snapshot, 0);
  for (const HeapRecord& heap : m.heaps) {
    db.Prepare("INSERT INTO heaps(name, current, max) VALUES (?, ?, ?)")
        .Bind(1, heap.name)
        .Bind(2, static_cast<int64_t>(heap.current))
        .Bind(3, static_cast<int64_t>(heap.max))
        .Run();
  }
  for (const FaultRecord& f : m.faults) {
    db.Prepare(
          "INSERT INTO faults(operation, object, message, nth, times, calls, fired) "
          "VALUES (?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, f.operation)
        .Bind(2, f.object)
        .Bind(3, f.message)
        .Bind(4, f.nth)
        .Bind(5, f.times)
        .Bind(6, f.calls)
        .Bind(7, f.fired)
        .Run();
  }
  WriteEvents(db, m.events);
}

HostModel ReadModel(Db& db) {
  HostModel m;
  ReadHostRow(db, m);
  {
    Stmt stmt = db.Prepare("SELECT number, enabled FROM features ORDER BY number");
    while (stmt.Step()) m.features[static_cast<unsigned>(stmt.Int(0))] = stmt.Int(1);
  }
  {
    Stmt stmt = db.Prepare(
        "SELECT grp, name, is_string, int_value, string_value FROM advanced_options ORDER BY id");
    while (stmt.Step()) {
      m.options.push_back(
          {stmt.Text(0), stmt.Text(1), stmt.Int(2) != 0, stmt.Int(3), stmt.Text(4)});
    }
  }
  {
    Stmt stmt = db.Prepare("SELECT name, ats, attached FROM devices ORDER BY id");
    while (stmt.Step()) m.devices.push_back({stmt.Text(0), stmt.Int(1) != 0, stmt.Int(2) != 0});
  }
  ReadNetwork(db, m);
  ReadVolumes(db, m);
  for (const auto& snapshot : LoadUnresolvedSnapshots(db)) m.snapshots.push_back(*snapshot);
  {
    Stmt stmt = db.Prepare("SELECT name, current, max FROM heaps ORDER BY id");
    while (stmt.Step()) {
      m.heaps.push_back(
          {stmt.Text(0), static_cast<uint64_t>(stmt.Int(1)), static_cast<uint64_t>(stmt.Int(2))});
    }
  }
  m.faults = ReadFaults(db);
  m.events = ReadEvents(db);
  return m;
}

std::vector<FaultRecord> ReadFaults(Db& db) {
  std::vector<FaultRecord> faults;
  Stmt stmt = db.Prepare(
      "SELECT id, operation, object, message, nth, times, calls, fired FROM faults ORDER BY id");
  while (stmt.Step()) {
    faults.push_back({stmt.Int(0), stmt.Text(1), stmt.Text(2), stmt.Text(3), stmt.Int(4),
                      stmt.Int(5), stmt.Int(6), stmt.Int(7)});
  }
  return faults;
}

std::vector<EventRecord> ReadEvents(Db& db) {
  std::vector<EventRecord> events;
  Stmt stmt = db.Prepare("SELECT time, event, input FROM events ORDER BY id");
  while (stmt.Step()) events.push_back({stmt.Text(0), stmt.Text(1), stmt.Blob(2)});
  return events;
}

}  // namespace Sim
}  // namespace HostCtl
