#include "hostctl/store/store_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include "hostctl/lib.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/schema.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/store_path.h"

namespace HostCtl {
namespace Sim {
namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
  throw StoreError(path + ": " + reason);
}

std::string Errno() { return std::strerror(errno); }

std::string Directory(const std::string& path) { return StoreDirectory(path); }

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Checks what can be checked without SQLite touching the file. False when
// there is no file.
bool CheckExistingFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT && lstat(path.c_str(), &st) == 0) {
      Fail(path, "is a symbolic link to a file that does not exist, not a store");
    }
    if (errno == ENOENT) return false;
    Fail(path, "cannot access the store: " + Errno());
  }
  if (S_ISDIR(st.st_mode)) Fail(path, "is a directory, not a store");
  if (!S_ISREG(st.st_mode)) Fail(path, "is not a regular file");
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail(path, "cannot read the store: " + Errno());
  unsigned char header[100];
  ssize_t got = read(fd, header, sizeof header);
  close(fd);
  if (got == 0) Fail(path, "is an empty file, not a tarvex host store");
  if (got < static_cast<ssize_t>(sizeof header) ||
      std::memcmp(header, "SQLite format 3", 16) != 0) {
    Fail(path, "not a SQLite database");
  }
  uint32_t application_id = BigEndian32(header + 68);
  if (application_id != kApplicationId) {
    Fail(path,
         Misc::StrPrintf("not a tarvex host store (SQLite application id 0x%08x)", application_id));
  }
  // Using a store means writing to it; a read-only file is refused here, not
  // half-way through an operation. The write bits are checked as well, since
  // access() says yes to root for any file.
  if (access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0) {
    Fail(path, "the store is read-only (using it needs write access)");
  }
  if (access(Directory(path).c_str(), W_OK) != 0) {
    Fail(path, "the store's directory is not writable (using it needs write access)");
  }
  return true;
}

sqlite3* OpenHandle(const std::string& path, int flags) {
  // The SQLite built into this library is ours to set up, before its first
  // use: without memory statistics its every allocation skips a global mutex,
  // and without a preallocated page cache it touches only the memory of the
  // pages it reads (a short command reads a dozen). Refused, harmlessly, after
  // SQLite's first use.
  static const int configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) |
                                sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
  (void)configured;
  sqlite3* handle = nullptr;
  // A connection serves one session of one thread, so SQLite need not lock
  // it on every call (a list of 100k volumes makes millions of them).
  int rc = sqlite3_open_v2(path.c_str(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string detail = handle ? sqlite3_errmsg(handle) : "out of memory";
    sqlite3_close_v2(handle);
    Fail(path, DescribeSqliteError(rc, detail));
  }
  sqlite3_extended_result_codes(handle, 1);
  sqlite3_busy_timeout(handle, kBusyTimeoutMs);
  return handle;
}

// Sets up a new, empty database as a store of the current schema holding
// `model`.
void Populate(Db& db, const HostModel& model) {
  db.Exec("PRAGMA application_id = " + std::to_string(static_cast<int32_t>(kApplicationId)));
  {
    Transaction tx(db);
    ApplyMigrations(db, 0, CurrentSchemaVersion());
    tx.Commit();
  }
  db.Exec("PRAGMA foreign_keys = ON");
  Transaction tx(db);
  WriteModel(db, model);
  tx.Commit();
}

// Refuses a store whose pages SQLite finds damaged.
void RequireSound(Db& db, const std::string& path) {
  Stmt check = db.Prepare("PRAGMA quick_check");
  const std::string verdict = check.Step() ? check.Text(0) : "";
  if (verdict != "ok") Fail(path, "the store is corrupt");
}

std::unique_ptr<Db> OpenExisting(const std::string& path) {
  auto db = std::make_unique<Db>(OpenHandle(path, SQLITE_OPEN_READWRITE), path);
  int64_t version;
  std::string journal_mode;
  {
    ReadTransaction look(*db);
    version = db->QueryInt("PRAGMA user_version");
    Stmt mode = db->Prepare("PRAGMA journal_mode");
    journal_mode = mode.Step() ? mode.Text(0) : "";
    mode.Run();
  }
  if (version > CurrentSchemaVersion()) {
    Fail(path, "the store has schema version " + std::to_string(version) +
                   ", newer than this program's " + std::to_string(CurrentSchemaVersion()));
  }
  // A store is changed (migrated, switched to WAL) only once it is known to
  // be sound, and the switch comes last: a file refused here is left exactly
  // as it was.
  if (journal_mode != "wal" || version < CurrentSchemaVersion()) RequireSound(*db, path);
  if (version < CurrentSchemaVersion()) {
    Transaction tx(*db);
    // Another process may have migrated it while this one waited.
    version = db->QueryInt("PRAGMA user_version");
    if (version < CurrentSchemaVersion()) ApplyMigrations(*db, version, CurrentSchemaVersion());
    tx.Commit();
  }
  db->Exec("PRAGMA foreign_keys = ON");
  if (journal_mode != "wal") {
    Stmt set = db->Prepare("PRAGMA journal_mode = WAL");
    set.Run();
  }
  // The write-ahead log and its index stay beside the store between uses,
  // emptied by the last process to close it: opening the store then creates
  // no file and closing it deletes none.
  int persist = 1;
  db->Check(sqlite3_file_control(db->handle(), "main", SQLITE_FCNTL_PERSIST_WAL, &persist));
  db->Exec("PRAGMA synchronous = NORMAL; PRAGMA journal_size_limit = 0");
  return db;
}

const char kTempInfix[] = ".new-";

void RemoveTemp(const std::string& temp) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) unlink((temp + suffix).c_str());
}

// Removes what creators that died left beside `path`: `NAME.new-PID-N` and
// its journal, of processes that no longer run.
void RemoveLeftovers(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string prefix =
      (slash == std::string::npos ? path : path.substr(slash + 1)) + kTempInfix;
  DIR* dir = opendir(Directory(path).c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const char* pid_text = name.c_str() + prefix.size();
    const size_t pid_digits = std::strspn(pid_text, "0123456789");
    if (pid_digits == 0 || pid_digits > 9 || pid_text[pid_digits] != '-') continue;
    const char* rest = pid_text + pid_digits + 1;
    const std::string suffix = rest + std::strspn(rest, "0123456789");
    if (suffix.size() == std::strlen(rest) ||
        (!suffix.empty() && suffix != "-journal" && suffix != "-wal" && suffix != "-shm")) {
      continue;
    }
    const pid_t pid = static_cast<pid_t>(std::atol(pid_text));
    if (kill(pid, 0) == 0 || errno != ESRCH) continue;  // running, or not ours to judge
    unlinkat(dirfd(dir), name.c_str(), 0);
  }
  closedir(dir);
}

// Switches `db` to journal `mode`; SQLite answers with the mode it is in.
void SetJournalMode(Db& db, const std::string& path, const std::string& mode) {
  Stmt set = db.Prepare("PRAGMA journal_mode = " + mode);
  const std::string now = set.Step() ? set.Text(0) : "";
  set.Run();
  if (now != mode) Fail(path, "cannot create the store: journal mode " + mode + " refused");
}

// Makes a link made in `path`'s directory survive a crash of the system.
void SyncDirectory(const std::string& path) {
  int fd = open(Directory(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) Fail(path, "cannot create the store: " + Errno());
  const bool synced = fsync(fd) == 0 || errno == EINVAL;
  const int sync_errno = errno;
  close(fd);
  errno = sync_errno;
  if (!synced) Fail(path, "cannot create the store: " + Errno());
}

// Builds the store beside `path` and links it into place, so that no process
// ever sees a half-made store and a file that appeared meanwhile is kept.
// False when another file took the place first.
bool CreateFile(const std::string& path, const HostModel& model) {
  std::random_device random;
  std::string temp = path + kTempInfix + std::to_string(getpid()) + "-" + std::to_string(random());
  try {
    // Built in rollback-journal mode (a new database's own), synced at the
    // commit: once the commit returns the whole store is in the one file.
    // (In WAL mode a part could stay in the file's own WAL when the disk
    // fills up, and linking the file into place would leave that part
    // behind.) The switch to WAL only marks the file's header; the WAL it
    // starts stays empty.
    Db db(OpenHandle(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), path);
    db.Exec("PRAGMA synchronous = FULL");
    Populate(db, model);
    SetJournalMode(db, path, "wal");
  } catch (...) {
    RemoveTemp(temp);
    throw;
  }
  bool linked = link(temp.c_str(), path.c_str()) == 0;
  int link_errno = errno;
  RemoveTemp(temp);
  if (!linked && link_errno != EEXIST) {
    errno = link_errno;
    Fail(path, "cannot create the store: " + Errno());
  }
  if (linked) SyncDirectory(path);
  return linked;
}

}  // namespace

std::unique_ptr<Db> OpenStoreFile(const std::string& path,
                                  const std::function<HostModel()>& initial) {
  CheckStorePath(path);
  RemoveLeftovers(path);
  if (!CheckExistingFile(path)) {
    PrepareStoreDirectory(path, path == DefaultStorePath());
    CreateFile(path, initial());
    CheckExistingFile(path);
  }
  return OpenExisting(path);
}

std::unique_ptr<Db> OpenRawStoreFile(const std::string& path) {
  return std::make_unique<Db>(OpenHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), path);
}

std::unique_ptr<Db> OpenMemoryStore(const HostModel& model) {
  auto db = std::make_unique<Db>(OpenHandle(":memory:", SQLITE_OPEN_READWRITE), "<in-memory host>");
  Populate(*db, model);
  return db;
}

bool InitStoreFile(const std::string& path, const HostModel& model, bool force) {
  CheckStorePath(path);
  RemoveLeftovers(path);
  if (!CheckExistingFile(path)) {
    PrepareStoreDirectory(path, true);
    if (CreateFile(path, model)) return true;
    CheckExistingFile(path);
  }
  if (!force) return false;
  std::unique_ptr<Db> db = OpenExisting(path);
  Transaction tx(*db);
  WriteModel(*db, model);
  tx.Commit();
  return true;
}

}  // namespace Sim
}  // namespace HostCtl
