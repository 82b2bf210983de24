#include "hostctl/rules/faults.h"

#include <algorithm>

#include "hostctl/lib.h"
#include "hostctl/store/host_rows.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {
namespace {

bool Matches(const FaultRecord& fault, const char* operation,
             std::initializer_list<std::string_view> objects) {
  if (fault.operation != operation) return false;
  if (fault.object.empty()) return true;
  return std::find(objects.begin(), objects.end(), fault.object) != objects.end();
}

}  // namespace

const char* OperationName(Op op) {
  static const char* const kNames[] = {
#define HOSTCTL_OP_NAME(name) #name,
      HOSTCTL_OPERATIONS(HOSTCTL_OP_NAME)
#undef HOSTCTL_OP_NAME
  };
  return kNames[static_cast<int>(op)];
}

const std::vector<std::string>& OperationNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all = {
#define HOSTCTL_OP_NAME(name) #name,
        HOSTCTL_OPERATIONS(HOSTCTL_OP_NAME)
#undef HOSTCTL_OP_NAME
    };
    std::sort(all.begin(), all.end());
    return all;
  }();
  return names;
}

bool IsOperationName(const std::string& name) {
  const auto& names = OperationNames();
  return std::binary_search(names.begin(), names.end(), name);
}

void FaultTable::Load(Db& db) { faults_ = ReadFaults(db, Session::Get().HostId()); }

bool FaultTable::Fire(Db& db, Op op, std::initializer_list<std::string_view> objects,
                      std::string* message) {
  const char* operation = OperationName(op);
  bool any = false;
  for (const FaultRecord& fault : faults_) any = any || Matches(fault, operation, objects);
  if (!any) return false;

  // The counters live in the store, so "the Nth call" counts the calls of
  // every process that used it.
  bool fired = false;
  Transaction tx(db);
  for (const FaultRecord& fault : faults_) {
    if (!Matches(fault, operation, objects)) continue;
    int64_t calls;
    int64_t times_fired;
    {
      Stmt stmt = db.Prepare("SELECT calls, fired FROM faults WHERE id = ?");
      stmt.Bind(1, fault.id);
      if (!stmt.Step()) continue;  // cleared by another process meanwhile
      calls = stmt.Int(0) + 1;
      times_fired = stmt.Int(1);
    }
    bool fires = !fired && (fault.nth == 0 || calls == fault.nth) &&
                 (fault.times == 0 || times_fired < fault.times);
    if (fires) {
      ++times_fired;
      fired = true;
      *message = fault.message;
    }
    db.Prepare("UPDATE faults SET calls = ?, fired = ? WHERE id = ?")
        .Bind(1, calls)
        .Bind(2, times_fired)
        .Bind(3, fault.id)
        .Run();
  }
  tx.Commit();
  return fired;
}

bool AnyFaultArmed() { return !Session::Get().Faults().empty(); }

void CheckFault(Op op, std::initializer_list<std::string_view> objects) {
  Session& session = Session::Get();
  FaultTable& faults = session.Faults();
  if (faults.empty()) return;
  std::string message;
  if (faults.Fire(session.db(), op, objects, &message)) {
    throw Lib::HostCtlException(message);
  }
}

}  // namespace Sim
}  // namespace HostCtl
