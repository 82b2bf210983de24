// The store's schema and its history. The store records in PRAGMA
// user_version how many migration steps it has; opening an older store
// applies the missing steps, in order, in one transaction.
#ifndef HOSTCTL_STORE_SCHEMA_H_
#define HOSTCTL_STORE_SCHEMA_H_

#include <cstdint>
#include <vector>

namespace HostCtl {
namespace Sim {

class Db;

// PRAGMA application_id of every store ("TRVX"): a SQLite file without it is
// not ours.
constexpr uint32_t kApplicationId = 0x54525658u;

struct Migration {
  int version;      // user_version after this step
  const char* sql;  // the step's statements
};

// Every step from an empty database to the current schema, oldest first.
const std::vector<Migration>& Migrations();
int CurrentSchemaVersion();

// Applies the steps after version `from` up to and including `to`, and
// records `to`. The caller holds the write transaction, with foreign keys
// off: a step that rebuilds a table drops the old one, which would take its
// children with it. Throws StoreError, also when a step left a reference
// dangling.
void ApplyMigrations(Db& db, int from, int to);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_SCHEMA_H_
