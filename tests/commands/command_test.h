// A fixture for command unit tests: an in-memory simulated host made from a
// fixture, the datastore agent's notifications recorded instead of run, and
// helpers that read a command's result as text.
#ifndef TESTS_COMMANDS_COMMAND_TEST_H_
#define TESTS_COMMANDS_COMMAND_TEST_H_

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cordra/cordra.h"

namespace TarvexCli {
namespace Testing {

using Output = Cordra::CallSpec::Output;
using Row = std::map<std::string, std::string>;

struct Notification {
  std::string event;  // the word after "-t"
  std::string input;  // what the agent read on standard input
};

template <class T>
std::shared_ptr<Cordra::AutoCli::Command> New() {
  return T::New();
}

// A fault armed for a path; it fails with the message "<operation> failed".
struct Fault {
  std::string operation;
  std::string object = "";  // "" matches every object
  int nth = 0;              // fire from the nth call on (0: the first)
  int times = 0;            // fire this often (0: always)
};

constexpr int kNoResult = -1;  // Path::result: the command set no result
constexpr int kTrue = -2;      // Path::result: MetaBool true

// One path through a command, a row of a table: the faults armed on the
// current host, the arguments, and what the command answers.
struct Path {
  using Maker = std::function<std::shared_ptr<Cordra::AutoCli::Command>()>;
  using ChangeCheck =
      std::function<void(const nlohmann::json& before, const nlohmann::json& after)>;

  std::string name;
  Maker make;
  std::vector<std::string> args;
  std::vector<Fault> faults;
  std::vector<std::string> errors;
  int result;                        // kNoResult, kTrue, or the number of rows of a list
  std::vector<std::string> notices;  // the agent's, as "Event(input)"
  // Checks the host after the run against the one before (faults left out);
  // unset, the host must not change.
  ChangeCheck changes;
  // Edits the default host before the run, for a case it does not hold.
  std::function<void(nlohmann::json& host)> patch;

  Path& On(std::function<void(nlohmann::json& host)> edit) {
    patch = std::move(edit);
    return *this;
  }
  Path& Notices(std::vector<std::string> expected) {
    notices = std::move(expected);
    return *this;
  }
  Path& Changes(ChangeCheck check) {
    changes = std::move(check);
    return *this;
  }
};

inline Path Case(std::string name, Path::Maker make, std::vector<std::string> args,
                 std::vector<Fault> faults, std::vector<std::string> errors, int result) {
  return {std::move(name),
          std::move(make),
          std::move(args),
          std::move(faults),
          std::move(errors),
          result,
          {},
          {},
          {}};
}
inline void PrintTo(const Path& path, std::ostream* os) { *os << path.name; }

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Replaces the host by one made from `fixture` (fixture-format JSON).
  void UseHost(const nlohmann::json& fixture);
  // The built-in default host.
  void UseDefaultHost();
  // Arms a fault on the current host (see docs/fixtures.md).
  void ArmFault(const std::string& operation, const std::string& object, const std::string& message,
                int nth = 0, int times = 0);
  // The current host in the fixture format.
  nlohmann::json Host() const;
  // The host's volume of that name (fixture form); fails the test if absent.
  nlohmann::json Volume(const std::string& name) const;

  // Parses `args` with the framework's parser against the command's input
  // spec and runs it once, in a run's arena as tarvexcli runs it unless
  // `in_arena` is false.
  std::shared_ptr<Output> Run(Cordra::AutoCli::Command& command,
                              const std::vector<std::string>& args = {}, bool in_arena = true);
  // The result as plain text, then each error message on a line.
  static std::string Summary(const Output& output);

  // Runs `path` on the current host and checks every part of it; every armed
  // fault must fire. A structure or list result must be the same when the
  // run's values are made outside an arena.
  void Check(const Path& path);

  // The result read as text: true when the root is MetaBool true.
  static bool IsTrue(const Output& output);
  static bool HasResult(const Output& output) { return output.GetRootObject() != nullptr; }
  // Rows of a list-of-structures root (fields as text: "true"/"false",
  // decimal integers, strings as they are). Fails when the root is no list.
  static std::vector<Row> Rows(const Output& output);
  // Fields of a structure root.
  static Row Record(const Output& output);
  static const std::vector<std::string>& Errors(const Output& output) {
    return output.GetErrorMessages();
  }

  std::vector<Notification> notifications_;
  // Full command lines the runner saw, for the tests of the notification itself.
  std::vector<std::string> command_lines_;
};

// A change check: the host after the run is the one before with `edit` applied.
inline Path::ChangeCheck Edited(std::function<void(nlohmann::json& host)> edit) {
  return [edit](const nlohmann::json& before, const nlohmann::json& after) {
    nlohmann::json expected = before;
    edit(expected);
    EXPECT_TRUE(after == expected)
        << "changes beyond the edit: " << nlohmann::json::diff(expected, after);
  };
}
// The volume of that name in `host` (fixture form); fails the test if absent.
nlohmann::json& VolumeIn(nlohmann::json& host, const std::string& name);

// A table of paths run by `Fixture`, one test per row, named after it.
#define PATH_SUITE(Suite, Fixture, paths)                                      \
  class Suite : public Fixture, public ::testing::WithParamInterface<Path> {}; \
  TEST_P(Suite, AnswersAsTheRowSays) { Check(GetParam()); }                    \
  INSTANTIATE_TEST_SUITE_P(                                                    \
      Paths, Suite, ::testing::ValuesIn(paths),                                \
      [](const ::testing::TestParamInfo<Path>& info) { return info.param.name; })

}  // namespace Testing
}  // namespace TarvexCli

#endif  // TESTS_COMMANDS_COMMAND_TEST_H_
