#include "framework/help.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "tests/framework/test_support.h"

namespace Cordra {
namespace Frame {
namespace {

using CallSpec::ParameterConstraint;
using Testing::ExpectGolden;
using Testing::FakeCommand;
using Testing::Param;

// The shape of `storage kovra host list` and `reclaim config set`: enums with
// and without value descriptions, ranges, flags, lists, examples.
std::shared_ptr<FakeCommand> HostList() {
  auto spec = CallSpec::InputSpec::New();
  auto label = Param("volume-label", CallSpec::PARAM_STRING, "l");
  label->SetDescription("The label of the target Kovra volume.");
  spec->AddParameter(label);
  auto liveness = Param("liveness", CallSpec::PARAM_STRING, "v");
  liveness->SetDescription(
      "The type of liveness check to perform on the Kovra volume. Valid values are %ENUM% "
      "(default is none).");
  auto checks = ParameterConstraint::New(CallSpec::CONSTRAINT_STRING_ENUM);
  checks->AddStringEnum("none", "No liveness check, just scan heartbeats (default)");
  checks->AddStringEnum("quick", "Quick liveness check, wait for one heartbeat interval");
  liveness->SetConstraint(checks);
  spec->AddParameter(liveness);
  auto priority = Param("reclaim-priority", CallSpec::PARAM_STRING, "p");
  priority->SetDescription(
      "Priority of automatic space reclamation. Supported options are %ENUM%.");
  auto levels = ParameterConstraint::New(CallSpec::CONSTRAINT_STRING_ENUM);
  for (const char* value : {"none", "low", "medium", "high"}) levels->AddStringEnum(value);
  priority->SetConstraint(levels);
  spec->AddParameter(priority);
  auto method = Param("method", CallSpec::PARAM_STRING);
  auto methods = ParameterConstraint::New(CallSpec::CONSTRAINT_STRING_ENUM);
  methods->AddStringEnum("priority");
  methods->AddStringEnum("fixed");
  method->SetConstraint(methods);
  spec->AddParameter(method);
  auto hosts = Param("hosts", CallSpec::PARAM_STRING_LIST, "H", true);
  hosts->SetDescription("The server address(es).  Trailing blank here: ");
  spec->AddParameter(hosts);
  spec->AddParameter(Param("enabled", CallSpec::PARAM_BOOL, "e", true));
  auto depth = Param("unsupported-queue-depth", CallSpec::PARAM_INT);
  auto range = ParameterConstraint::New(CallSpec::CONSTRAINT_INT_RANGE);
  range->SetIntRange(1, 4294967295LL);
  depth->SetConstraint(range);
  spec->AddParameter(depth);
  spec->AddParameter(Param("reclaim-unit", CallSpec::PARAM_INT, "n"));
  // A range open at one end is shown; one open at both is no range.
  for (int64_t max : {int64_t{0}, std::numeric_limits<int64_t>::max()}) {
    auto offset = Param(max == 0 ? "back-offset" : "any-offset", CallSpec::PARAM_INT);
    auto open = ParameterConstraint::New(CallSpec::CONSTRAINT_INT_RANGE);
    open->SetIntRange(std::numeric_limits<int64_t>::min(), max);
    offset->SetConstraint(open);
    spec->AddParameter(offset);
  }
  auto retry = Param("unsupported-mount-retry", CallSpec::PARAM_FLAG);
  spec->AddParameter(retry);

  auto command = FakeCommand::New(spec, CallSpec::OutputSpec::New());
  command->SetDescription("List hosts accessing a particular Kovra Volume.");
  command->AddExample("-l datastore1",
                      "List hosts using volume 'datastore1' with default liveness check of "
                      "'none'.");
  command->AddExample("", "Show lockmodes for all Kovra volumes.");
  return command;
}

TEST(HelpTest, CommandListsEveryParameterAndExample) {
  ExpectGolden("help_command.txt",
               CommandHelp(*HostList(), "tarvexcli", "storage kovra host list", "table"));
}

}  // namespace
}  // namespace Frame
}  // namespace Cordra
