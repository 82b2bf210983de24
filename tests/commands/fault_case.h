// Table-driven fault tests: each case arms faults on the default host (or a
// variant of it), runs one command and checks its exact messages, its result,
// that every armed fault fired, and that the host changed only as the case
// says. Each fault's message is "<operation> failed".
//
//   FaultCase("ListHostFails", New<NFSVolumeList>)
//       .Fault("GetHost", "nfs-iso", 1, 1)
//       .Errors({"Error getting data for mount 'nfs-iso': GetHost failed, skipping."})
//       .Rows(2)
#ifndef TESTS_COMMANDS_FAULT_CASE_H_
#define TESTS_COMMANDS_FAULT_CASE_H_

#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {

using CommandMaker = std::function<std::shared_ptr<Cordra::AutoCli::Command>()>;

template <class T>
std::shared_ptr<Cordra::AutoCli::Command> New() {
  return T::New();
}

class FaultCase {
 public:
  enum class Result { kNone, kTrue, kRows };
  struct ArmedFault {
    std::string operation;
    std::string object;
    int nth;
    int times;
  };
  // Edits the default host before the faults are armed.
  using HostEdit = std::function<void(nlohmann::json& host)>;
  // Checks the host after the run against the host before it (faults left
  // out of both).
  using ChangeCheck =
      std::function<void(const nlohmann::json& before, const nlohmann::json& after)>;

  FaultCase(std::string name, CommandMaker make) : name_(std::move(name)), make_(std::move(make)) {}

  FaultCase& Args(std::vector<std::string> args) {
    args_ = std::move(args);
    return *this;
  }
  FaultCase& Fault(const std::string& operation, const std::string& object = "", int nth = 0,
                   int times = 0) {
    faults_.push_back({operation, object, nth, times});
    return *this;
  }
  FaultCase& Errors(std::vector<std::string> errors) {
    errors_ = std::move(errors);
    return *this;
  }
  FaultCase& True() { return SetResult(Result::kTrue); }
  FaultCase& Rows(size_t rows) {
    rows_ = rows;
    return SetResult(Result::kRows);
  }
  FaultCase& Host(HostEdit edit) {
    host_ = std::move(edit);
    return *this;
  }
  FaultCase& Changes(ChangeCheck check) {
    changes_ = std::move(check);
    return *this;
  }
  // The datastore agent's notifications, as "Event(input)" texts.
  FaultCase& Notices(std::vector<std::string> notices) {
    notices_ = std::move(notices);
    check_notices_ = true;
    return *this;
  }

  const std::string& name() const { return name_; }

 private:
  friend class FaultCaseTest;
  FaultCase& SetResult(Result result) {
    result_ = result;
    return *this;
  }

  std::string name_;
  CommandMaker make_;
  std::vector<std::string> args_;
  std::vector<ArmedFault> faults_;
  std::vector<std::string> errors_;
  Result result_ = Result::kNone;
  size_t rows_ = 0;
  HostEdit host_;
  ChangeCheck changes_;
  std::vector<std::string> notices_;
  bool check_notices_ = false;
};

inline void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name(); }

// Names the parameterised tests after their cases.
struct FaultCaseName {
  std::string operator()(const ::testing::TestParamInfo<FaultCase>& info) const {
    return info.param.name();
  }
};

class FaultCaseTest : public CommandTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  void Check(const FaultCase& c) {
    nlohmann::json host = Host();
    if (c.host_) c.host_(host);
    for (const auto& fault : c.faults_) {
      host["faults"].push_back({{"operation", fault.operation},
                                {"object", fault.object},
                                {"message", fault.operation + " failed"},
                                {"nth", fault.nth},
                                {"times", fault.times},
                                {"calls", 0},
                                {"fired", 0}});
    }
    UseHost(host);
    const nlohmann::json before = WithoutFaults(Host());

    auto command = c.make_();
    auto output = Run(*command, c.args_);

    EXPECT_EQ(Errors(*output), c.errors_);
    switch (c.result_) {
      case FaultCase::Result::kNone:
        EXPECT_FALSE(HasResult(*output)) << "a result after a failure";
        break;
      case FaultCase::Result::kTrue:
        EXPECT_TRUE(IsTrue(*output));
        break;
      case FaultCase::Result::kRows:
        EXPECT_EQ(Rows(*output).size(), c.rows_);
        break;
    }
    const nlohmann::json after_with_faults = Host();
    for (const auto& fault : after_with_faults["faults"]) {
      EXPECT_GT(fault["fired"], 0) << "the fault in " << fault["operation"] << " never fired";
    }
    const nlohmann::json after = WithoutFaults(after_with_faults);
    if (c.changes_) {
      c.changes_(before, after);
    } else {
      EXPECT_EQ(after, before) << "the failed command changed the host";
    }
    if (c.check_notices_) {
      std::vector<std::string> notices;
      for (const auto& n : notifications_) notices.push_back(n.event + "(" + n.input + ")");
      EXPECT_EQ(notices, c.notices_);
    }
  }

  static nlohmann::json WithoutFaults(nlohmann::json host) {
    host.erase("faults");
    return host;
  }
};

// A failure of the whole run: `operation` fails for every object and its
// message is the only output.
inline FaultCase RunFails(const std::string& name, CommandMaker make, std::vector<std::string> args,
                          const std::string& operation) {
  return FaultCase(name, std::move(make))
      .Args(std::move(args))
      .Fault(operation)
      .Errors({operation + " failed"});
}

// One row's `operation` fails once on `object`: the row is skipped with
// "<prefix><operation> failed, skipping." and `rows` rows remain.
inline FaultCase RowFails(const std::string& name, CommandMaker make, std::vector<std::string> args,
                          const std::string& operation, const std::string& object,
                          const std::string& prefix, size_t rows) {
  return FaultCase(name + operation + "Fails", std::move(make))
      .Args(std::move(args))
      .Fault(operation, object, 0, 1)
      .Errors({prefix + operation + " failed, skipping."})
      .Rows(rows);
}

// One case per operation.
inline std::vector<FaultCase> ForEach(const std::function<FaultCase(const std::string&)>& make,
                                      std::initializer_list<const char*> operations) {
  std::vector<FaultCase> cases;
  for (const char* operation : operations) cases.push_back(make(operation));
  return cases;
}

inline std::vector<FaultCase> Join(std::initializer_list<std::vector<FaultCase>> parts) {
  std::vector<FaultCase> cases;
  for (const auto& part : parts) cases.insert(cases.end(), part.begin(), part.end());
  return cases;
}

// `operation` fails while a single-volume command looks datastore1 up (by
// label, or by UUID for the UUID lookup): the message unchanged, nothing done.
inline std::vector<FaultCase> LookupFails(const std::string& command, CommandMaker make,
                                          const std::vector<std::string>& extra) {
  std::vector<FaultCase> cases;
  for (const std::string operation : {"GetHost", "GetStorageInfo", "StorageInfoImpl",
                                      "GetKovraFileSystemByLabel", "GetKovraFileSystemByUUID"}) {
    std::vector<std::string> args = {"-l", "datastore1"};
    if (operation == "GetKovraFileSystemByUUID") {
      args = {"-u", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"};
    }
    args.insert(args.end(), extra.begin(), extra.end());
    cases.push_back(RunFails(command + operation + "Fails", make, args, operation));
  }
  return cases;
}

// The failures that end a NAS "param get" (on `get_args`) or "param set" (on
// `set_args`) before any volume is touched: the storage object, fetching the
// volumes with `fetch`, the protocol-endpoint filter, and (set) the name.
inline std::vector<FaultCase> NasParamRunFails(CommandMaker get, CommandMaker set,
                                               const std::string& fetch,
                                               const std::vector<std::string>& get_args,
                                               const std::vector<std::string>& set_args) {
  std::vector<FaultCase> cases;
  for (const std::string& op :
       {std::string("StorageInfoImpl"), fetch, std::string("IsProtocolEndpoint")}) {
    cases.push_back(RunFails("ParamGet" + op + "Fails", get, get_args, op));
    cases.push_back(RunFails("ParamSet" + op + "Fails", set, set_args, op));
  }
  cases.push_back(RunFails("ParamSetGetVolumeNameFails", set, set_args, "GetVolumeName"));
  return cases;
}

// After a failing setter in an add: the volume "new" was added last, is
// unmounted and has its nfs `flag` false; nothing else changed.
inline FaultCase::ChangeCheck AddedUnmounted(const std::string& flag) {
  return [flag](const nlohmann::json& before, const nlohmann::json& after) {
    ASSERT_FALSE(after["volumes"].empty());
    const nlohmann::json added = after["volumes"].back();
    EXPECT_EQ(added["name"], "new");
    EXPECT_EQ(added["mounted"], false);
    EXPECT_EQ(added["nfs"][flag], false);
    nlohmann::json rest = after;
    rest["volumes"].erase(rest["volumes"].size() - 1);
    EXPECT_EQ(rest, before);
  };
}

// One parameterised suite over a table of cases.
#define FAULT_CASE_SUITE(Suite, cases)                                        \
  class Suite : public FaultCaseTest {};                                      \
  TEST_P(Suite, ReportsTheFailureAndKeepsTheHostSound) { Check(GetParam()); } \
  INSTANTIATE_TEST_SUITE_P(Faults, Suite, ::testing::ValuesIn(cases), FaultCaseName())

}  // namespace Testing
}  // namespace TarvexCli

#endif  // TESTS_COMMANDS_FAULT_CASE_H_
