#include "hostctl/store/sqlite_db.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include "hostctl/rules/sim.h"

namespace HostCtl {
namespace Sim {

std::string DescribeSqliteError(int rc, const std::string& detail) {
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "the store is locked by another process (waited 5 s)";
    case SQLITE_FULL:
      return "the disk is full";
    case SQLITE_READONLY:
      return "the store is read-only";
    case SQLITE_NOTADB:
      return "not a SQLite database";
    case SQLITE_CORRUPT:
      return "the store is corrupt";
    case SQLITE_CANTOPEN:
      return "cannot open the store: " + detail;
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return "permission denied";
    case SQLITE_IOERR:
      return "I/O error: " + detail;
    default:
      return "SQLite error: " + detail;
  }
}

Db::Db(sqlite3* handle, std::string name) : db_(handle), name_(std::move(name)) {}

Db::~Db() {
  for (auto& entry : cache_) sqlite3_finalize(entry.second);
  sqlite3_close_v2(db_);
}

void Db::Fail(int rc) const {
  const int failed_errno = errno;  // before any other call can change it
  int sys = sqlite3_system_errno(db_);
  std::string detail = sqlite3_errmsg(db_);
  // SQLite reports a write refused for want of space (or beyond the file
  // size limit, RLIMIT_FSIZE) as a plain I/O error and does not always keep
  // the system error; the errno of the failed call still tells.
  const int extended = sqlite3_extended_errcode(db_);
  if (sys == 0 && (extended == SQLITE_IOERR_WRITE || extended == SQLITE_IOERR_SHMSIZE ||
                   extended == SQLITE_IOERR_TRUNCATE)) {
    sys = failed_errno;
  }
  if (sys == ENOSPC || sys == EFBIG || sys == EDQUOT) rc = SQLITE_FULL;
  if ((rc & 0xff) == SQLITE_IOERR && sys != 0) detail = std::strerror(sys);
  throw StoreError(name_ + ": " + DescribeSqliteError(rc, detail));
}

Stmt Db::Prepare(const std::string& sql) {
  auto it = cache_.find(sql);
  if (it == cache_.end()) {
    sqlite3_stmt* stmt = nullptr;
    Check(sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                             SQLITE_PREPARE_PERSISTENT, &stmt, nullptr));
    it = cache_.emplace(sql, stmt).first;
  }
  sqlite3_reset(it->second);
  sqlite3_clear_bindings(it->second);
  const bool writes = !sqlite3_stmt_readonly(it->second);
  if (share_reads_) {
    if (writes) {
      ShareReads(false);
    } else if (!InTransaction()) {
      Check(sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr));
      in_shared_read_ = true;
    }
  }
  if (dry_run_ && writes) OpenDryRun();
  ++statements_run_;
  return Stmt(this, it->second);
}

void Db::Exec(const std::string& sql) {
  ShareReads(false);
  if (dry_run_) OpenDryRun();
  RawExec(sql);
}

void Db::RawExec(const std::string& sql) {
  ++statements_run_;
  Check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr));
}

void Db::SetDryRun(bool on) {
  dry_run_ = on;
  if (!on) return;
  // A spilled page would be written to the log before the end: keep every
  // changed page in memory (allocated only as it is used).
  RawExec("PRAGMA cache_spill = OFF; PRAGMA cache_size = -1048576");
}

void Db::OpenDryRun() {
  // SQLite ends a transaction on some errors (a full disk): then the next
  // write begins the dry run's transaction again rather than commit alone.
  if (dry_open_ && InTransaction()) return;
  if (!InTransaction()) RawExec("BEGIN IMMEDIATE");
  RawExec("SAVEPOINT dry_run");
  dry_open_ = true;
}

void Db::EndDryRun() {
  if (InTransaction()) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  dry_open_ = false;
}

void Db::ShareReads(bool on) {
  share_reads_ = on;
  if (on || !in_shared_read_) return;
  in_shared_read_ = false;
  // Ends a read: there is nothing to lose, and a statement still stepping
  // keeps its own snapshot until it is reset.
  if (InTransaction()) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
}

int64_t Db::QueryInt(const std::string& sql) {
  Stmt stmt = Prepare(sql);
  int64_t value = stmt.Step() ? stmt.Int(0) : 0;
  stmt.Run();
  return value;
}

bool Db::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

int64_t Db::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

Stmt::~Stmt() {
  if (stmt_) sqlite3_reset(stmt_);
}

Stmt& Stmt::Bind(int index, int64_t value) {
  db_->Check(sqlite3_bind_int64(stmt_, index, value));
  return *this;
}

Stmt& Stmt::Bind(int index, const std::string& value) {
  db_->Check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                               SQLITE_TRANSIENT));
  return *this;
}

Stmt& Stmt::BindBlob(int index, const std::string& bytes) {
  db_->Check(sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()),
                               SQLITE_TRANSIENT));
  return *this;
}

bool Stmt::Step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  const int failed_errno = errno;
  sqlite3_reset(stmt_);
  errno = failed_errno;  // Fail reads it
  db_->Fail(rc);
}

void Stmt::Run() {
  while (Step()) {
  }
}

bool Stmt::IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

int64_t Stmt::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Stmt::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
}

void Stmt::ReadText(int column, std::string* out) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (!text) return out->clear();
  out->assign(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt_, column));
}

std::string Stmt::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string(static_cast<const char*>(data), size) : std::string();
}

Transaction::Transaction(Db& db) : db_(db), owner_(false) {
  db_.ShareReads(false);
  if (db_.dry_run_) {
    // The outermost one owns a savepoint, as it would own a transaction.
    db_.OpenDryRun();
    owner_ = db_.depth_ == 0;
    if (owner_) db_.RawExec("SAVEPOINT tx");
  } else {
    owner_ = !db_.InTransaction();
    if (owner_) db_.Exec("BEGIN IMMEDIATE");
  }
  ++db_.depth_;
}

Transaction::~Transaction() {
  --db_.depth_;
  if (!owner_ || done_ || !db_.InTransaction()) return;
  const char* undo = db_.dry_run_ ? "ROLLBACK TO tx; RELEASE tx" : "ROLLBACK";
  sqlite3_exec(db_.handle(), undo, nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  if (owner_ && !done_) db_.RawExec(db_.dry_run_ ? "RELEASE tx" : "COMMIT");
  done_ = true;
}

ReadTransaction::ReadTransaction(Db& db) : db_(db), owner_(!db.InTransaction()) {
  if (owner_) {
    db_.ShareReads(false);
    db_.RawExec("BEGIN DEFERRED");
  }
}

ReadTransaction::~ReadTransaction() {
  // A dry run that began inside this read ends it: never commit it here.
  if (owner_ && !db_.dry_open_ && db_.InTransaction()) {
    sqlite3_exec(db_.handle(), "COMMIT", nullptr, nullptr, nullptr);
  }
}

}  // namespace Sim
}  // namespace HostCtl
