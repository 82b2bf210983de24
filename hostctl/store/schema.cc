#include "hostctl/store/schema.h"

#include <string>

#include "hostctl/rules/sim.h"
#include "hostctl/store/schema_steps.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {

const std::vector<Migration>& Migrations() {
  static const std::vector<Migration> steps = {
      {1, kVersion1}, {2, kVersion2}, {3, kVersion3}, {4, kVersion4}, {5, kVersion5},
  };
  return steps;
}

int CurrentSchemaVersion() { return Migrations().back().version; }

void ApplyMigrations(Db& db, int from, int to) {
  for (const Migration& step : Migrations()) {
    if (step.version > from && step.version <= to) db.Exec(step.sql);
  }
  if (db.QueryInt("SELECT count(*) FROM pragma_foreign_key_check") > 0)
    throw StoreError(db.name() + ": the store's references do not hold after migration");
  db.Exec("PRAGMA user_version = " + std::to_string(to));
}

}  // namespace Sim
}  // namespace HostCtl
