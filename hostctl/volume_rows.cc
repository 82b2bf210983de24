#include "hostctl/volume_rows.h"

#include <stdexcept>

#include "hostctl/sqlite_db.h"

namespace HostCtl {
namespace Sim {
namespace {

// Every column after id, in the order Bind() and Read() use.
const char* const kColumns[] = {
    "type",
    "name",
    "uuid",
    "mount_point",
    "mounted",
    "persistent",
    "discovered",
    "busy",
    "accessible",
    "capacity",
    "used",
    "arrak",
    "version",
    "lvm_uuid",
    "lock_mode",
    "clustered_kadisk",
    "unmap_granularity",
    "unmap_priority",
    "unmap_bandwidth",
    "unmap_method",
    "unmap_reserved",
    "reclaimed",
    "nfs_hosts",
    "nfs_share",
    "nfs_read_only",
    "nfs_pe",
    "nfs_hidden",
    "nfs_strelnic",
    "nfs_strelnic_param",
    "nfs_queue_depth",
    "nfs_boot_queue_depth",
    "nfs_max_read",
    "nfs_max_write",
    "nfs_preunmount",
    "nfs_security",
};
constexpr int kColumnCount = sizeof(kColumns) / sizeof(kColumns[0]);
// The columns a summary query reads: "type" to "version".
constexpr int kSummaryCount = 13;

// "id" and the first `count` columns.
std::string SelectList(int count = kColumnCount) {
  std::string list = "id";
  for (int i = 0; i < count; ++i) list += std::string(", ") + kColumns[i];
  return list;
}

void Bind(Stmt& stmt, const VolumeRecord& v) {
  int i = 0;
  auto bind = [&](auto value) { stmt.Bind(++i, value); };
  bind(v.type);
  bind(v.name);
  bind(v.uuid);
  bind(v.mount_point);
  bind(int64_t{v.mounted});
  bind(int64_t{v.persistent});
  bind(int64_t{v.discovered});
  bind(int64_t{v.busy});
  bind(int64_t{v.accessible});
  bind(v.capacity);
  bind(v.used);
  bind(int64_t{v.arrak});
  bind(int64_t{v.version});
  bind(v.lvm_uuid);
  bind(int64_t{v.lock_mode});
  bind(int64_t{v.clustered_kadisk});
  bind(int64_t{v.unmap.granularity});
  bind(v.unmap.priority);
  bind(int64_t{v.unmap.bandwidth});
  bind(v.unmap.method);
  bind(int64_t{v.unmap.reserved});
  bind(v.reclaimed);
  bind(JoinHosts(v.hosts));
  bind(v.share);
  bind(int64_t{v.read_only});
  bind(int64_t{v.pe});
  bind(int64_t{v.hidden});
  bind(v.strelnic);
  bind(v.strelnic_param);
  bind(int64_t{v.queue_depth});
  bind(int64_t{v.boot_queue_depth});
  bind(int64_t{v.max_read});
  bind(int64_t{v.max_write});
  bind(int64_t{v.preunmount});
  bind(int64_t{v.security});
}

// Columns 0 to kSummaryCount of SelectList(): id and the summary fields.
void ReadSummary(const Stmt& s, VolumeRecord* v) {
  int i = 0;
  v->id = s.Int(i++);
  v->type = s.Text(i++);
  v->name = s.Text(i++);
  v->uuid = s.Text(i++);
  v->mount_point = s.Text(i++);
  v->mounted = s.Int(i++);
  v->persistent = s.Int(i++);
  v->discovered = s.Int(i++);
  v->busy = s.Int(i++);
  v->accessible = s.Int(i++);
  v->capacity = s.Int(i++);
  v->used = s.Int(i++);
  v->arrak = static_cast<int>(s.Int(i++));
  v->version = static_cast<uint32_t>(s.Int(i++));
}

// The other columns, from kSummaryCount + 1 on.
void ReadDetails(const Stmt& s, VolumeRecord* v) {
  int i = kSummaryCount + 1;
  v->lvm_uuid = s.Text(i++);
  v->lock_mode = static_cast<uint32_t>(s.Int(i++));
  v->clustered_kadisk = s.Int(i++);
  v->unmap.granularity = static_cast<uint32_t>(s.Int(i++));
  v->unmap.priority = s.Text(i++);
  v->unmap.bandwidth = static_cast<int32_t>(s.Int(i++));
  v->unmap.method = s.Text(i++);
  v->unmap.reserved = static_cast<uint32_t>(s.Int(i++));
  v->reclaimed = s.Int(i++);
  v->hosts = SplitHosts(s.Text(i++));
  v->share = s.Text(i++);
  v->read_only = s.Int(i++);
  v->pe = s.Int(i++);
  v->hidden = s.Int(i++);
  v->strelnic = s.Text(i++);
  v->strelnic_param = s.Text(i++);
  v->queue_depth = static_cast<uint32_t>(s.Int(i++));
  v->boot_queue_depth = static_cast<uint32_t>(s.Int(i++));
  v->max_read = static_cast<uint32_t>(s.Int(i++));
  v->max_write = static_cast<uint32_t>(s.Int(i++));
  v->preunmount = s.Int(i++);
  v->security = static_cast<uint32_t>(s.Int(i++));
  v->partial = false;
}

std::string WhereClause(const VolumeQuery& q) {
  std::string where = q.include_undiscovered ? "1" : "discovered = 1";
  switch (q.kind) {
    case VolumeQuery::kAny:
      break;
    case VolumeQuery::kKovra:
      where += " AND type = 'Kovra'";
      break;
    case VolumeQuery::kNfs3:
      where += " AND type = 'NFS'";
      break;
    case VolumeQuery::kNfs41:
      where += " AND type = 'NFS41'";
      break;
    case VolumeQuery::kNas:
      where += " AND type IN ('NFS', 'NFS41')";
      break;
  }
  if (q.name && q.name_or_uuid) {
    where += " AND (name = :name OR uuid = :name)";
  } else if (q.name) {
    where += " AND name = :name";
  }
  if (q.uuid) where += " AND uuid = :uuid";
  if (q.mounted_only) where += " AND mounted = 1";
  return where;
}

// Binds the query's values to `stmt` in the order WhereClause() names them.
void BindQuery(Stmt& stmt, const VolumeQuery& query) {
  int index = 0;
  if (query.name) stmt.Bind(++index, *query.name);
  if (query.uuid) stmt.Bind(++index, *query.uuid);
}

// How many volumes a listing will load: counted first so that the records
// are made in place, never moved as their block grows.
size_t CountVolumes(Db& db, const VolumeQuery& query) {
  Stmt stmt = db.Prepare("SELECT count(*) FROM volumes WHERE " + WhereClause(query));
  BindQuery(stmt, query);
  return stmt.Step() ? static_cast<size_t>(stmt.Int(0)) : 0;
}

}  // namespace

std::vector<std::shared_ptr<VolumeRecord>> LoadVolumes(Db& db, const VolumeQuery& query) {
  Stmt stmt = db.Prepare("SELECT " + SelectList(query.summary ? kSummaryCount : kColumnCount) +
                         " FROM volumes WHERE " + WhereClause(query) + " ORDER BY id");
  BindQuery(stmt, query);
  auto batch = std::make_shared<VolumeBatch>();
  // One block holds every record of the query, so that a large list costs
  // one allocation rather than one per volume; each record's pointer shares
  // ownership of the block.
  auto block = std::make_shared<std::vector<VolumeRecord>>();
  // A lookup by name or UUID finds a handful at most: no count for it.
  if (!query.name && !query.uuid) block->reserve(CountVolumes(db, query));
  while (stmt.Step()) {
    VolumeRecord& record = block->emplace_back();
    ReadSummary(stmt, &record);
    record.batch = batch;
    record.partial = query.summary;
    if (!query.summary) ReadDetails(stmt, &record);
  }
  batch->volumes = block->size();
  if (query.summary) batch->partial = block.get();
  std::vector<std::shared_ptr<VolumeRecord>> volumes;
  volumes.reserve(block->size());
  for (VolumeRecord& record : *block) volumes.emplace_back(block, &record);
  return volumes;
}

std::shared_ptr<VolumeRecord> LoadVolumeById(Db& db, int64_t id) {
  Stmt stmt = db.Prepare("SELECT " + SelectList() + " FROM volumes WHERE id = ?");
  stmt.Bind(1, id);
  if (!stmt.Step()) return nullptr;
  auto batch = std::make_shared<VolumeBatch>();
  batch->volumes = 1;
  auto volume = std::make_shared<VolumeRecord>();
  ReadSummary(stmt, volume.get());
  ReadDetails(stmt, volume.get());
  volume->batch = batch;
  return volume;
}

VolumeRecord& CompleteVolume(Db& db, VolumeRecord& volume) {
  if (!volume.partial) return volume;
  std::vector<VolumeRecord>& records = *volume.batch->partial;
  // The batch's rows in id order, as it read them; a row deleted since keeps
  // the defaults.
  Stmt stmt =
      db.Prepare("SELECT " + SelectList() + " FROM volumes WHERE id BETWEEN ? AND ? ORDER BY id");
  stmt.Bind(1, records.front().id);
  stmt.Bind(2, records.back().id);
  size_t next = 0;
  while (next < records.size() && stmt.Step()) {
    const int64_t id = stmt.Int(0);
    while (next < records.size() && records[next].id < id) records[next++].partial = false;
    if (next < records.size() && records[next].id == id && records[next].partial) {
      ReadDetails(stmt, &records[next++]);
    }
  }
  for (; next < records.size(); ++next) records[next].partial = false;
  volume.batch->partial = nullptr;  // only now: a failed read can be tried again
  return volume;
}

void SaveVolume(Db& db, const VolumeRecord& volume) {
  if (volume.partial) throw std::logic_error("SaveVolume: a summary record would lose its fields");
  std::string sql = "UPDATE volumes SET ";
  for (int i = 0; i < kColumnCount; ++i) {
    sql += std::string(i ? ", " : "") + kColumns[i] + " = ?";
  }
  sql += " WHERE id = ?";
  Stmt stmt = db.Prepare(sql);
  Bind(stmt, volume);
  stmt.Bind(kColumnCount + 1, volume.id);
  stmt.Run();
}

void InsertVolume(Db& db, VolumeRecord& volume) {
  std::string names;
  std::string marks;
  for (int i = 0; i < kColumnCount; ++i) {
    names += std::string(i ? ", " : "") + kColumns[i];
    marks += i ? ", ?" : "?";
  }
  Stmt stmt = db.Prepare("INSERT INTO volumes(" + names + ") VALUES (" + marks + ")");
  Bind(stmt, volume);
  stmt.Run();
  volume.id = db.LastInsertId();
}

const std::vector<std::shared_ptr<ExtentRecord>>& VolumeExtents(Db& db, VolumeRecord& volume) {
  if (!volume.batch) volume.batch = std::make_shared<VolumeBatch>();
  VolumeBatch& batch = *volume.batch;
  if (!batch.loaded) {
    // One query for the whole batch: a list command that reads the extents of
    // every volume it listed costs one statement, not one per volume.
    const char kSelect[] =
        "SELECT e.volume_id, d.name, e.partition, d.ats, d.attached FROM extents e "
        "JOIN devices d ON d.id = e.device_id";
    bool single = batch.volumes <= 1;
    Stmt stmt = db.Prepare(std::string(kSelect) + (single ? " WHERE e.volume_id = ?" : "") +
                           " ORDER BY e.volume_id, e.pos");
    if (single) stmt.Bind(1, volume.id);
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
  return batch.extents[volume.id];
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
      server.address = stmt.Text(0);
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

std::string JoinHosts(const std::vector<std::string>& hosts) {
  std::string text;
  for (const std::string& host : hosts) text += (text.empty() ? "" : ",") + host;
  return text;
}

std::vector<std::string> SplitHosts(const std::string& text) {
  std::vector<std::string> hosts;
  size_t start = 0;
  while (start < text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    hosts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return hosts;
}

}  // namespace Sim
}  // namespace HostCtl
