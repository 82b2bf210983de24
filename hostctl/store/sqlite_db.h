// A thin layer over one SQLite connection: prepared statements cached by
// their text, transactions, and every failure turned into a StoreError that
// names the store's file.
#ifndef HOSTCTL_STORE_SQLITE_DB_H_
#define HOSTCTL_STORE_SQLITE_DB_H_

#include <cstdint>
#include <map>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace HostCtl {
namespace Sim {

class Db;

// A use of a prepared statement owned by its Db's cache. Bind parameters
// from 1, call Step() until it returns false, read columns from 0. Going out
// of scope resets the statement, so no read snapshot outlives its use.
//
// Uses of the same SQL text share one statement: preparing the text again,
// or ending another use of it, resets this one. Never hold two uses of one
// text at once (e.g. run a query again inside the loop over its own rows);
// give the inner query a text of its own.
class Stmt {
 public:
  Stmt(Db* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  Stmt(Stmt&& other) noexcept : db_(other.db_), stmt_(other.stmt_) { other.stmt_ = nullptr; }
  ~Stmt();
  Stmt(const Stmt&) = delete;
  Stmt& operator=(const Stmt&) = delete;

  Stmt& Bind(int index, int64_t value);
  Stmt& Bind(int index, const std::string& value);
  Stmt& BindBlob(int index, const std::string& bytes);

  // True when a row is ready, false when done. Throws StoreError.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();

  bool IsNull(int column) const;
  int64_t Int(int column) const;
  std::string Text(int column) const;
  // Text(column) into `out`, reusing its buffer.
  void ReadText(int column, std::string* out) const;
  std::string Blob(int column) const;

 private:
  Db* db_;
  sqlite3_stmt* stmt_;
};

class Db {
 public:
  // Takes ownership of an open connection; `name` is the file named in errors.
  Db(sqlite3* handle, std::string name);
  ~Db();
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  // A statement for `sql`, prepared once per connection, reset and unbound.
  // Every use of the same text is the same statement (see Stmt).
  Stmt Prepare(const std::string& sql);
  // Runs one or more statements that return no rows.
  void Exec(const std::string& sql);
  // The single integer the query returns (e.g. a PRAGMA or a count).
  int64_t QueryInt(const std::string& sql);

  // With `on`, reads outside a transaction share one: the first statement
  // begins a read transaction that the next ones join, so a run of reads
  // takes the store's locks once and sees one state of it. A statement that
  // writes, a Transaction or Exec() ends the sharing first (a write always
  // starts from the store as it is now, under its own lock); so does
  // ShareReads(false).
  void ShareReads(bool on);

  // Dry-run mode (hostctl/rules/dry_run.h): the first write begins one
  // transaction (BEGIN IMMEDIATE, then the savepoint "dry_run") that lasts
  // until EndDryRun, and each outermost Transaction is a savepoint inside
  // it, so that a failed one is undone as it would be on its own. The page
  // cache never spills, so nothing reaches the log before the end. Off
  // after EndDryRun only.
  void SetDryRun(bool on);
  // Whether a dry run has written (its transaction is open).
  bool DryRunWrote() const { return dry_open_; }
  // Undoes the dry run's changes, keeping its transaction and lock.
  void UndoDryRunChanges() { RawExec("ROLLBACK TO dry_run"); }
  // Rolls the dry run's transaction back; the next write begins another.
  void EndDryRun();

  bool InTransaction() const;
  int64_t LastInsertId() const;
  // Statements stepped so far (tests check that bulk reads stay bulk).
  int64_t StatementsRun() const { return statements_run_; }

  const std::string& name() const { return name_; }
  sqlite3* handle() { return db_; }

  // Throws the StoreError for SQLite result code `rc`. Call it right after
  // the failed SQLite call: it reads errno.
  [[noreturn]] void Fail(int rc) const;
  void Check(int rc) const {
    if (rc != 0) Fail(rc);
  }

 private:
  friend class Stmt;
  friend class Transaction;
  friend class ReadTransaction;
  // Runs `sql` as it is (a transaction's own statements).
  void RawExec(const std::string& sql);
  // Begins the dry run's transaction unless it is open. Its callers end a
  // shared read first, so that the writes start from the store as it is.
  void OpenDryRun();
  sqlite3* db_;
  std::string name_;
  std::map<std::string, sqlite3_stmt*> cache_;
  int64_t statements_run_ = 0;
  bool share_reads_ = false;
  bool in_shared_read_ = false;  // the open transaction is the shared read
  bool dry_run_ = false;
  bool dry_open_ = false;  // the dry run's transaction is open
  int depth_ = 0;          // Transactions alive
};

// BEGIN IMMEDIATE: the write lock is taken at once, so a read-modify-write
// inside cannot lose another process's change. Rolls back unless committed.
// Inside another transaction it joins that one.
class Transaction {
 public:
  explicit Transaction(Db& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void Commit();

 private:
  Db& db_;
  bool owner_;
  bool done_ = false;
};

// A read transaction (BEGIN DEFERRED): the reads inside see one state of
// the store. Ends when it goes out of scope.
class ReadTransaction {
 public:
  explicit ReadTransaction(Db& db);
  ~ReadTransaction();
  ReadTransaction(const ReadTransaction&) = delete;
  ReadTransaction& operator=(const ReadTransaction&) = delete;

 private:
  Db& db_;
  bool owner_;
};

// The one-line reason for a SQLite result code, as a StoreError shows it.
std::string DescribeSqliteError(int rc, const std::string& detail);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_SQLITE_DB_H_
