// A fixture for command unit tests: an in-memory simulated host made from a
// fixture, the datastore agent's notifications recorded instead of run, and
// helpers that read a command's result as text.
#ifndef TESTS_COMMANDS_COMMAND_TEST_H_
#define TESTS_COMMANDS_COMMAND_TEST_H_

#include <gtest/gtest.h>

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
  // spec and runs it once. When $TARVEX_CALL_RECORDS names a directory, the
  // host-control operations the command calls (and the faults that fire in
  // them) are recorded under its class name and appended to a file there
  // when the test ends: the input of the fault-coverage report.
  std::shared_ptr<Output> Run(Cordra::AutoCli::Command& command,
                              const std::vector<std::string>& args = {});

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

}  // namespace Testing
}  // namespace TarvexCli

#endif  // TESTS_COMMANDS_COMMAND_TEST_H_
