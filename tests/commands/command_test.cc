#include "tests/commands/command_test.h"

#include <optional>

#include "framework/output_model.h"
#include "framework/parser.h"
#include "framework/shell_runner.h"
#include "framework/value_arena.h"
#include "hostctl/rules/sim.h"

namespace TarvexCli {
namespace Testing {

namespace MetaObj = Cordra::MetaObj;

namespace {

std::string Text(const std::shared_ptr<MetaObj::MetaObj>& value) {
  if (!value) return "<null>";
  switch (value->GetType()) {
    case MetaObj::META_BOOL:
      return std::static_pointer_cast<MetaObj::MetaBool>(value)->GetValue() ? "true" : "false";
    case MetaObj::META_INT:
      return std::to_string(std::static_pointer_cast<MetaObj::MetaInt>(value)->GetValue());
    case MetaObj::META_STRING:
      return std::static_pointer_cast<MetaObj::MetaString>(value)->GetValue();
    default:
      return "<composite>";
  }
}

Row RowOf(const MetaObj::MetaStruct& row) {
  Row fields;
  for (const auto& field : row.GetFields()) fields[field.first] = Text(field.second);
  return fields;
}

// "... -t EVENT -i stdin" -> EVENT
std::string EventOf(const std::string& command_line) {
  const auto at = command_line.find(" -t ");
  if (at == std::string::npos) return "";
  const auto end = command_line.find(' ', at + 4);
  return command_line.substr(at + 4, end - (at + 4));
}

}  // namespace

void CommandTest::SetUp() {
  Cordra::Frame::SetShellCmdRunner(
      [this](const std::string& line, std::string&, const std::string& input) {
        command_lines_.push_back(line);
        notifications_.push_back({EventOf(line), input});
        return 0;
      });
  UseDefaultHost();
}

void CommandTest::TearDown() { Cordra::Frame::SetShellCmdRunner(nullptr); }

void CommandTest::UseHost(const nlohmann::json& fixture) {
  HostCtl::Sim::UseInMemoryHost(fixture.dump());
}

void CommandTest::UseDefaultHost() {
  HostCtl::Sim::UseInMemoryHost(HostCtl::Sim::DefaultHostFixture());
}

void CommandTest::ArmFault(const std::string& operation, const std::string& object,
                           const std::string& message, int nth, int times) {
  nlohmann::json host = Host();
  host["faults"].push_back({{"operation", operation},
                            {"object", object},
                            {"message", message},
                            {"nth", nth},
                            {"times", times},
                            {"calls", 0},
                            {"fired", 0}});
  UseHost(host);
}

nlohmann::json CommandTest::Host() const { return nlohmann::json::parse(HostCtl::Sim::DumpHost()); }

nlohmann::json CommandTest::Volume(const std::string& name) const {
  const nlohmann::json host = Host();  // the loop must not outlive it
  for (const auto& volume : host["volumes"]) {
    if (volume["name"] == name) return volume;
  }
  ADD_FAILURE() << "no volume named " << name;
  return nlohmann::json::object();
}

std::shared_ptr<Output> CommandTest::Run(Cordra::AutoCli::Command& command,
                                         const std::vector<std::string>& args, bool in_arena) {
  auto input = Cordra::Frame::ParseArguments(*command.GetInputSpec(), args);
  auto output = std::make_shared<Output>();
  // As tarvexcli runs a command: its values in a run's arena.
  std::optional<MetaObj::ValueArena::Scope> arena;
  if (in_arena) arena.emplace();
  command.Execute(input, output);
  return output;
}

std::string CommandTest::Summary(const Output& output) {
  std::string text = Cordra::Frame::PlainText(output.GetRootObject().get());
  for (const auto& error : output.GetErrorMessages()) text += "\n" + error;
  return text;
}

void CommandTest::Check(const Path& path) {
  SCOPED_TRACE(path.name);
  if (path.patch) {
    nlohmann::json host = Host();
    path.patch(host);
    UseHost(host);
  }
  for (const Fault& f : path.faults) {
    ArmFault(f.operation, f.object, f.operation + " failed", f.nth, f.times);
  }
  notifications_.clear();
  auto without_faults = [](nlohmann::json host) {
    host.erase("faults");
    return host;
  };
  const nlohmann::json start = Host();
  const nlohmann::json before = without_faults(start);
  auto command = path.make();
  auto output = Run(*command, path.args);

  EXPECT_EQ(Errors(*output), path.errors);
  if (path.result == kNoResult) {
    EXPECT_FALSE(HasResult(*output)) << "a result after a failure";
  } else if (path.result == kTrue) {
    EXPECT_TRUE(IsTrue(*output));
  } else {
    EXPECT_EQ(Rows(*output).size(), static_cast<size_t>(path.result));
  }
  std::vector<std::string> notices;
  for (const auto& n : notifications_) notices.push_back(n.event + "(" + n.input + ")");
  EXPECT_EQ(notices, path.notices);
  const nlohmann::json after = Host();
  for (const auto& fault : after["faults"]) {
    EXPECT_GT(fault["fired"], 0) << "the fault in " << fault["operation"] << " never fired";
  }
  if (path.changes) {
    path.changes(before, without_faults(after));
  } else {
    EXPECT_TRUE(without_faults(after) == before)
        << "the host changed: " << nlohmann::json::diff(before, without_faults(after));
  }
  // A structure or list result again with every value on its own, as
  // values made outside a run are: the same answer.
  const auto root = output->GetRootObject();
  if (root && (root->GetType() == MetaObj::META_STRUCT || root->GetType() == MetaObj::META_LIST)) {
    UseHost(start);
    notifications_.clear();
    EXPECT_EQ(Summary(*Run(*path.make(), path.args, false)), Summary(*output))
        << "outside a run's arena";
  }
}

nlohmann::json& VolumeIn(nlohmann::json& host, const std::string& name) {
  for (auto& volume : host["volumes"]) {
    if (volume["name"] == name) return volume;
  }
  ADD_FAILURE() << "no volume named " << name;
  static nlohmann::json none;
  return none = nlohmann::json::object();
}

bool CommandTest::IsTrue(const Output& output) {
  auto root = std::dynamic_pointer_cast<MetaObj::MetaBool>(output.GetRootObject());
  return root && root->GetValue();
}

std::vector<Row> CommandTest::Rows(const Output& output) {
  std::vector<Row> rows;
  auto list = std::dynamic_pointer_cast<MetaObj::MetaList>(output.GetRootObject());
  if (!list) {
    ADD_FAILURE() << "the result is not a list";
    return rows;
  }
  for (const auto& element : list->GetElements()) {
    rows.push_back(RowOf(static_cast<const MetaObj::MetaStruct&>(*element)));
  }
  return rows;
}

Row CommandTest::Record(const Output& output) {
  auto record = std::dynamic_pointer_cast<MetaObj::MetaStruct>(output.GetRootObject());
  if (!record) {
    ADD_FAILURE() << "the result is not a structure";
    return {};
  }
  return RowOf(*record);
}

}  // namespace Testing
}  // namespace TarvexCli
