#include "hostctl/store/host_rows.h"

#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {

void WriteHostRow(Db& db, int64_t id, const HostModel& m) {
  Stmt stmt = db.Prepare(
      "INSERT INTO host(id, name, mac, up, psa_restores, iorm_signals, pb_cache_size, "
      "pb_cache_size_max, pb_working_set, pb_working_set_max, pb_heap_overhead, "
      "pb_capacity_miss_ratio, ats_only) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  const PBCacheRecord& pb = m.pbcache;
  stmt.Bind(1, id).Bind(2, m.host).Bind(3, m.mac).Bind(4, m.up);
  stmt.Bind(5, m.psa_restores).Bind(6, m.iorm_signals);
  stmt.Bind(7, static_cast<int64_t>(pb.cache_size));
  stmt.Bind(8, static_cast<int64_t>(pb.cache_size_max));
  stmt.Bind(9, static_cast<int64_t>(pb.working_set));
  stmt.Bind(10, static_cast<int64_t>(pb.working_set_max));
  stmt.Bind(11, static_cast<int64_t>(pb.heap_overhead));
  stmt.Bind(12, int64_t{pb.capacity_miss_ratio});
  stmt.Bind(13, m.ats_only);
  stmt.Run();
}

void WriteHostParts(Db& db, int64_t id, const HostModel& m) {
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
  for (const FaultRecord& f : m.faults) WriteFault(db, id, f);
  for (const EventRecord& event : m.events) WriteEvent(db, id, event);
}

void WriteFault(Db& db, int64_t host, const FaultRecord& f) {
  db.Prepare(
        "INSERT INTO faults(host_id, operation, object, message, nth, times, calls, fired) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
      .Bind(1, host)
      .Bind(2, f.operation)
      .Bind(3, f.object)
      .Bind(4, f.message)
      .Bind(5, f.nth)
      .Bind(6, f.times)
      .Bind(7, f.calls)
      .Bind(8, f.fired)
      .Run();
}

namespace {

void ReadHostRow(Db& db, int64_t id, HostModel& m) {
  Stmt stmt = db.Prepare(
      "SELECT name, mac, up, psa_restores, iorm_signals, pb_cache_size, pb_cache_size_max, "
      "pb_working_set, pb_working_set_max, pb_heap_overhead, pb_capacity_miss_ratio, "
      "ats_only FROM host WHERE id = ?");
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
  m.ats_only = stmt.Int(11) != 0;
  stmt.Run();
}

}  // namespace

void ReadHostParts(Db& db, int64_t id, HostModel& m) {
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
  {
    Stmt stmt = db.Prepare("SELECT name, current, max FROM heaps WHERE host_id = ? ORDER BY id");
    stmt.Bind(1, id);
    while (stmt.Step()) {
      m.heaps.push_back(
          {stmt.Text(0), static_cast<uint64_t>(stmt.Int(1)), static_cast<uint64_t>(stmt.Int(2))});
    }
  }
  {
    Stmt stmt = db.Prepare(
        "SELECT d.name FROM unreachable u JOIN devices d ON d.id = u.device_id WHERE u.host_id = ? "
        "ORDER BY d.id");
    stmt.Bind(1, id);
    while (stmt.Step()) m.unreachable.push_back(stmt.Text(0));
  }
  m.faults = ReadFaults(db, id);
  m.events = ReadEvents(db, id);
}

int64_t AddHostRows(Db& db, const HostModel& host) {
  const int64_t id = db.QueryInt("SELECT coalesce(max(id), 0) + 1 FROM host");
  WriteHostRow(db, id, host);
  WriteHostParts(db, id, host);
  return id;
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

void WriteUnreachable(Db& db, int64_t id, const HostModel& m) {
  for (const std::string& device : m.unreachable) {
    db.Prepare(
          "INSERT INTO unreachable(host_id, device_id) SELECT ?, id FROM devices WHERE name = ?")
        .Bind(1, id)
        .Bind(2, device)
        .Run();
  }
}

}  // namespace Sim
}  // namespace HostCtl
