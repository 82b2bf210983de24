#include "hostctl/store/host_names.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>

#include <algorithm>
#include <exception>

#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/faults.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/schema.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {

namespace {

// `path` as a SQLite URI. Without a write-ahead log beside the store, or
// with an empty one (everything is in the file), it is opened immutable,
// since a read-only connection to a store in WAL mode would otherwise set up
// the log's index; a writer starting meanwhile may make the read fail, and
// completion then offers nothing.
std::string ReadOnlyUri(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (char c : path) {
    if (c == '?' || c == '#' || c == '%') {
      uri += '%';
      uri += kHex[static_cast<unsigned char>(c) >> 4];
      uri += kHex[c & 15];
    } else {
      uri += c;
    }
  }
  struct stat st;
  const bool logged = stat((path + "-wal").c_str(), &st) == 0 && st.st_size > 0;
  return uri + (logged ? "?mode=ro" : "?immutable=1");
}

// The store as it stands; false when it cannot be read without changing it.
bool ReadStoreReadOnly(const std::string& path, HostModel* model) {
  sqlite3* handle = nullptr;
  if (sqlite3_open_v2(ReadOnlyUri(path).c_str(), &handle,
                      SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    sqlite3_close_v2(handle);
    return false;
  }
  try {
    Db db(handle, path);
    if (db.QueryInt("PRAGMA application_id") != static_cast<int32_t>(kApplicationId) ||
        db.QueryInt("PRAGMA user_version") != CurrentSchemaVersion()) {
      return false;
    }
    ReadTransaction tx(db);
    *model = ReadModel(db);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// The volumes of one type ("" for all), mounted or not (or either), by
// label or by UUID.
enum class Mounted { kEither, kNo, kYes };

struct VolumeKind {
  const char* kind;
  const char* type;
  bool uuid;
  Mounted mounted;
};

const VolumeKind kVolumeKinds[] = {
    {"volume-label", "", false, Mounted::kEither},
    {"volume-uuid", "", true, Mounted::kEither},
    {"unmounted-label", "", false, Mounted::kNo},
    {"unmounted-uuid", "", true, Mounted::kNo},
    {"mounted-label", "", false, Mounted::kYes},
    {"mounted-uuid", "", true, Mounted::kYes},
    {"kovra-label", "Kovra", false, Mounted::kEither},
    {"kovra-uuid", "Kovra", true, Mounted::kEither},
    {"nfs-name", "NFS", false, Mounted::kEither},
    {"nfs41-name", "NFS41", false, Mounted::kEither},
};

void AddVolumeNames(const HostModel& host, const char* type, bool uuid,
                    std::vector<std::string>* names, Mounted mounted = Mounted::kEither) {
  for (const auto& volume : host.volumes) {
    if ((mounted == Mounted::kNo && volume.volume.mounted) ||
        (mounted == Mounted::kYes && !volume.volume.mounted)) {
      continue;
    }
    if (*type == '\0' || volume.volume.type == type) {
      names->push_back(uuid ? volume.volume.uuid : volume.volume.name);
    }
  }
}

std::vector<std::string> NamesOf(const HostModel& host, const std::string& kind) {
  std::vector<std::string> names;
  for (const VolumeKind& volumes : kVolumeKinds) {
    if (kind == volumes.kind) {
      AddVolumeNames(host, volumes.type, volumes.uuid, &names, volumes.mounted);
    }
  }
  if (kind == "mount-point") {
    for (const auto& volume : host.volumes) {
      if (volume.volume.mounted) names.push_back(volume.volume.mount_point);
    }
  }
  if (kind == "snapshot-label" || kind == "snapshot-uuid") {
    for (const auto& snapshot : host.snapshots) {
      names.push_back(kind == "snapshot-uuid" ? snapshot.uuid : snapshot.label);
    }
  }
  if (kind == "strelnic") names = host.strelnics;
  if (kind == "device") {
    for (const auto& device : host.devices) names.push_back(device.name);
  }
  if (kind == "host") {
    names = {host.host};
    for (const HostModel& other : host.others) names.push_back(other.host);
  }
  if (kind == "fault-object") {
    AddVolumeNames(host, "", false, &names);
    AddVolumeNames(host, "", true, &names);
    for (const auto& snapshot : host.snapshots) {
      names.push_back(snapshot.label);
      names.push_back(snapshot.uuid);
    }
    for (const auto& device : host.devices) names.push_back(device.name);
    for (const auto& option : host.options) names.push_back(option.name);
  }
  std::vector<std::string> unique;
  for (auto& name : names) {
    if (!name.empty() && std::find(unique.begin(), unique.end(), name) == unique.end()) {
      unique.push_back(std::move(name));
    }
  }
  return unique;
}

}  // namespace

std::vector<std::string> HostNames(const std::string& store_path, const std::string& kind) {
  if (kind == "fault-operation") return OperationNames();
  HostModel host;
  struct stat st;
  if (stat(store_path.c_str(), &st) != 0) {
    if (errno != ENOENT) return {};
    host = LoadFixture(DefaultHostFixture(), "<default host>");
  } else if (!S_ISREG(st.st_mode) || !ReadStoreReadOnly(store_path, &host)) {
    return {};
  }
  return NamesOf(host, kind);
}

}  // namespace Sim
}  // namespace HostCtl
