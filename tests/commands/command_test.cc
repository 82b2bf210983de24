#include "tests/commands/command_test.h"

#include <cxxabi.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <typeinfo>

#include "framework/parser.h"
#include "framework/shell_runner.h"
#include "hostctl/call_recorder.h"
#include "hostctl/sim.h"

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

// The class name without its namespaces: "NFSVolumeAdd".
std::string CommandName(const Cordra::AutoCli::Command& command) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(command).name(), nullptr, nullptr, &status);
  std::string name = status == 0 ? demangled : typeid(command).name();
  std::free(demangled);
  const auto colons = name.rfind("::");
  return colons == std::string::npos ? name : name.substr(colons + 2);
}

// Where the recorded calls go; "" when nobody asked for them.
std::string CallRecordsDir() {
  const char* dir = std::getenv("TARVEX_CALL_RECORDS");
  return dir ? dir : "";
}

// Appends the recorded calls as "command operation called|fired" lines to a
// file of this process's own, so that tests running at once never share one.
void SaveCallRecords(const std::string& dir) {
  mkdir(dir.c_str(), 0755);  // may exist already
  std::ofstream file(dir + "/" + std::to_string(getpid()) + ".calls", std::ios::app);
  for (const auto& record : HostCtl::Sim::CallRecorder::Records()) {
    file << record.command << ' ' << record.operation << ' '
         << (record.fault_fired ? "fired" : "called") << '\n';
  }
  if (!file) ADD_FAILURE() << "cannot write the call records to " << dir;
}

}  // namespace

void CommandTest::SetUp() {
  if (!CallRecordsDir().empty()) HostCtl::Sim::CallRecorder::Enable();
  Cordra::Frame::SetShellCmdRunner(
      [this](const std::string& line, std::string&, const std::string& input) {
        command_lines_.push_back(line);
        notifications_.push_back({EventOf(line), input});
        return 0;
      });
  UseDefaultHost();
}

void CommandTest::TearDown() {
  Cordra::Frame::SetShellCmdRunner(nullptr);
  const std::string dir = CallRecordsDir();
  if (!dir.empty()) SaveCallRecords(dir);
  HostCtl::Sim::CallRecorder::Disable();
}

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
                                         const std::vector<std::string>& args) {
  struct Attribution {  // ends with the run, also when it throws
    explicit Attribution(const std::string& name) { HostCtl::Sim::CallRecorder::SetCommand(name); }
    ~Attribution() { HostCtl::Sim::CallRecorder::SetCommand(""); }
  } attribution(CommandName(command));
  auto input = Cordra::Frame::ParseArguments(*command.GetInputSpec(), args);
  auto output = std::make_shared<Output>();
  command.Execute(input, output);
  return output;
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
