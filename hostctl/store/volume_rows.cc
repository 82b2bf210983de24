#include "hostctl/store/volume_rows.h"

#include "hostctl/rules/text_util.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/volume_fields.h"

namespace HostCtl {
namespace Sim {
namespace {

constexpr int kColumnCount = kVolumeFieldCount;
constexpr int kSummaryCount = [] {
  int count = 0;
  for (const VolumeFieldInfo& info : kVolumeFields) count += info.summary ? 1 : 0;
  return count;
}();

// A field's column in a select: the summary columns come first, so that a
// listing reads only those; each group keeps the list's order.
constexpr int ColumnOf(int field) {
  int position = 0;
  const bool summary = kVolumeFields[field].summary;
  for (int i = 0; i < field; ++i) {
    if (kVolumeFields[i].summary == summary) ++position;
  }
  return summary ? position : kSummaryCount + position;
}

// Fields in select order.
struct ColumnFields {
  int fields[kColumnCount];
  constexpr ColumnFields() : fields() {
    for (int i = 0; i < kColumnCount; ++i) fields[ColumnOf(i)] = i;
  }
};
constexpr ColumnFields kColumns;

bool PerHost(int field) { return kVolumeFields[field].scope == VolumeScope::kPerHost; }

// A field's column as the join below names it: `w.` for the host's view,
// `v.` for the volume's row.
std::string Qualified(int field) {
  return std::string(PerHost(field) ? "w." : "v.") + kVolumeFields[field].column;
}

// A volume as one host sees it: its row and that host's view of it.
std::string Joined(int64_t host) {
  return " FROM volume_views w JOIN volumes v ON v.id = w.volume_id WHERE w.host_id = " +
         std::to_string(host);
}

int64_t HostOf(const VolumeQuery& query) {
  return query.host ? query.host : Session::Get().HostId();
}

// "v.id" and the first `count` columns.
std::string SelectList(int count = kColumnCount) {
  std::string list = "v.id";
  for (int i = 0; i < count; ++i) list += ", " + Qualified(kColumns.fields[i]);
  return list;
}

// One member to its column and back, by the member's type. Hosts are kept
// as one comma-separated text.
void BindValue(Stmt& s, int i, const std::string& value) { s.Bind(i, value); }
void BindValue(Stmt& s, int i, const std::vector<std::string>& hosts) {
  s.Bind(i, JoinHosts(hosts));
}
template <class Number>
void BindValue(Stmt& s, int i, Number value) {
  s.Bind(i, static_cast<int64_t>(value));
}
void ReadValue(const Stmt& s, int i, std::string* value) { s.ReadText(i, value); }
void ReadValue(const Stmt& s, int i, std::vector<std::string>* hosts) {
  *hosts = SplitHosts(s.Text(i));
}
void ReadValue(const Stmt& s, int i, bool* value) { *value = s.Int(i) != 0; }
template <class Number>
void ReadValue(const Stmt& s, int i, Number* value) {
  *value = static_cast<Number>(s.Int(i));
}

// Parameters 1 to kColumnCount, in select order.
void Bind(Stmt& stmt, const VolumeRecord& v){
#define VOLUME_BIND(column, scope, member, part, key, summary, read, fallback) \
  {                                                                            \
    constexpr int at = 1 + ColumnOf(kVolumeField_##column);                    \
    BindValue(stmt, at, v.member);                                             \
  }
    TARVEX_VOLUME_FIELDS(VOLUME_BIND)
#undef VOLUME_BIND
}

// What host `host` knows: what it discovered, less the volumes on a device
// it cannot reach (checked per row only when it misses a device).
std::string WhereClause(const VolumeQuery& q, int64_t host) {
  const std::string id = std::to_string(host);
  std::string where =
      q.include_undiscovered
          ? ""
          : " AND w.discovered = 1 AND (NOT EXISTS (SELECT 1 FROM unreachable WHERE host_id = " +
                id +
                ") OR NOT EXISTS (SELECT 1 FROM extents e JOIN unreachable u ON u.device_id = "
                "e.device_id AND u.host_id = " +
                id + " WHERE e.volume_id = w.volume_id))";
  switch (q.kind) {
    case VolumeQuery::kAny:
      break;
    case VolumeQuery::kKovra:
      where += " AND v.type = 'Kovra'";
      break;
    case VolumeQuery::kNfs3:
      where += " AND v.type = 'NFS'";
      break;
    case VolumeQuery::kNfs41:
      where += " AND v.type = 'NFS41'";
      break;
  }
  if (q.name && q.name_or_uuid) {
    where += " AND (v.name = :name OR v.uuid = :name)";
  } else if (q.name) {
    where += " AND v.name = :name";
  }
  if (q.uuid) where += " AND v.uuid = :uuid";
  if (q.mounted_only) where += " AND w.mounted = 1";
  return where;
}

// Binds the query's values to `stmt` in the order WhereClause() names them.
void BindQuery(Stmt& stmt, const VolumeQuery& query) {
  int index = 0;
  if (query.name) stmt.Bind(++index, *query.name);
  if (query.uuid) stmt.Bind(++index, *query.uuid);
}

}  // namespace

Stmt SelectVolumes(Db& db, const VolumeQuery& query) {
  Stmt stmt = db.Prepare("SELECT " + SelectList(query.summary ? kSummaryCount : kColumnCount) +
                         Joined(HostOf(query)) + WhereClause(query, HostOf(query)) +
                         " ORDER BY w.volume_id");
  BindQuery(stmt, query);
  return stmt;
}

Stmt SelectVolumeRange(Db& db, int64_t host, int64_t first, int64_t last) {
  Stmt stmt = db.Prepare("SELECT " + SelectList() + Joined(host) +
                         " AND w.volume_id BETWEEN ? AND ? ORDER BY w.volume_id");
  stmt.Bind(1, first);
  stmt.Bind(2, last);
  return stmt;
}

// Column 0 of SelectList() is the id; a field is at 1 + ColumnOf(field).
// (`at` is a constant: no row pays for finding its columns.)
#define VOLUME_READ(column, scope, member, part, key, summary, read, fallback) \
  if (summary == kSummary) {                                                   \
    constexpr int at = 1 + ColumnOf(kVolumeField_##column);                    \
    ReadValue(s, at, &v->member);                                              \
  }

// Columns 0 to kSummaryCount of SelectList().
void ReadVolumeSummary(const Stmt& s, VolumeRecord* v) {
  constexpr bool kSummary = true;
  v->id = s.Int(0);
  TARVEX_VOLUME_FIELDS(VOLUME_READ)
}

// From kSummaryCount + 1 on.
void ReadVolumeDetails(const Stmt& s, VolumeRecord* v) {
  constexpr bool kSummary = false;
  TARVEX_VOLUME_FIELDS(VOLUME_READ)
}

#undef VOLUME_READ

std::vector<VolumeRecord> LoadVolumes(Db& db, const VolumeQuery& query) {
  VolumeQuery every_column = query;
  every_column.summary = false;
  Stmt stmt = SelectVolumes(db, every_column);
  auto batch = std::make_shared<VolumeBatch>();
  std::vector<VolumeRecord> volumes;
  const int64_t host = HostOf(query);
  batch->host = host;
  while (stmt.Step()) {
    VolumeRecord& record = volumes.emplace_back();
    ReadVolumeSummary(stmt, &record);
    ReadVolumeDetails(stmt, &record);
    record.host_id = host;
    record.batch = batch;
  }
  batch->volumes = volumes.size();
  return volumes;
}

std::optional<VolumeRecord> LoadVolumeById(Db& db, int64_t id) {
  Stmt stmt = db.Prepare("SELECT " + SelectList() + Joined(Session::Get().HostId()) +
                         " AND w.volume_id = ?");
  stmt.Bind(1, id);
  if (!stmt.Step()) return std::nullopt;
  VolumeRecord volume;
  ReadVolumeSummary(stmt, &volume);
  ReadVolumeDetails(stmt, &volume);
  stmt.Run();
  volume.host_id = Session::Get().HostId();
  volume.batch = std::make_shared<VolumeBatch>();
  volume.batch->volumes = 1;
  return volume;
}

namespace {

// Sets the columns of `volume` of one scope by its id (and its host's).
void SaveScope(Db& db, const VolumeRecord& volume, bool per_host) {
  std::string sql = per_host ? "UPDATE volume_views SET " : "UPDATE volumes SET ";
  const char* comma = "";
  for (int i = 0; i < kColumnCount; ++i) {
    if (PerHost(i) != per_host) continue;
    sql += std::string(comma) + kVolumeFields[i].column + " = ?" + std::to_string(1 + ColumnOf(i));
    comma = ", ";
  }
  sql += per_host ? " WHERE volume_id = ?" : " WHERE id = ?";
  sql += std::to_string(kColumnCount + 1);
  if (per_host) sql += " AND host_id = ?" + std::to_string(kColumnCount + 2);
  Stmt stmt = db.Prepare(sql);
  Bind(stmt, volume);
  stmt.Bind(kColumnCount + 1, volume.id);
  if (per_host) stmt.Bind(kColumnCount + 2, volume.host_id);
  stmt.Run();
}

// Inserts the columns of `volume` of one scope: its row, or its host's view
// of it (by its id and its host's).
void InsertScope(Db& db, const VolumeRecord& volume, bool per_host) {
  const std::string id = "?" + std::to_string(kColumnCount + 1);
  const std::string host = "?" + std::to_string(kColumnCount + 2);
  std::string names = per_host ? "host_id, volume_id" : "";
  std::string marks = per_host ? host + ", " + id : "";
  for (int i = 0; i < kColumnCount; ++i) {
    if (PerHost(i) != per_host) continue;
    names += std::string(names.empty() ? "" : ", ") + kVolumeFields[i].column;
    marks += std::string(marks.empty() ? "?" : ", ?") + std::to_string(1 + ColumnOf(i));
  }
  Stmt stmt = db.Prepare(std::string("INSERT INTO ") + (per_host ? "volume_views" : "volumes") +
                         "(" + names + ") VALUES (" + marks + ")");
  Bind(stmt, volume);
  if (per_host) {
    stmt.Bind(kColumnCount + 1, volume.id);
    stmt.Bind(kColumnCount + 2, volume.host_id);
  }
  stmt.Run();
}

}  // namespace

void SaveVolume(Db& db, const VolumeRecord& volume) {
  SaveScope(db, volume, false);
  SaveScope(db, volume, true);
}

void SaveVolumeView(Db& db, const VolumeRecord& volume) { SaveScope(db, volume, true); }

void InsertVolume(Db& db, VolumeRecord& volume) {
  InsertScope(db, volume, false);
  volume.id = db.LastInsertId();
  if (!volume.host_id) volume.host_id = Session::Get().HostId();
  // Every host has a view of a SAN volume: the others have not found it yet.
  if (volume.IsKovra()) {
    db.Prepare(
          "INSERT INTO volume_views(host_id, volume_id, mount_point, mounted, persistent, "
          "discovered, busy, accessible) SELECT id, ?, ?, 0, 0, 0, 0, 1 FROM host WHERE id != ?")
        .Bind(1, volume.id)
        .Bind(2, volume.mount_point)
        .Bind(3, volume.host_id)
        .Run();
  }
  InsertScope(db, volume, true);
}

}  // namespace Sim
}  // namespace HostCtl
