// A small plug-in for the shell's end-to-end tests, loaded through
// TARVEX_PLUGIN: a few commands with every kind of parameter and result.
// Built like the real plug-in (hidden visibility, version script), so the
// tests also show that type information crosses the library boundary.
#include <cstdlib>
#include <stdexcept>

#include "cordra/cordra.h"

namespace {

using namespace Cordra;
using CallSpec::ParameterSpec;
using MetaObj::MetaBool;
using MetaObj::MetaInt;
using MetaObj::MetaString;
using MetaObj::MetaStruct;
using NodePtr = std::shared_ptr<AutoCli::NamespaceNode>;

std::shared_ptr<ParameterSpec> Param(const char* name, CallSpec::ParameterType type,
                                     const char* short_name, const char* description) {
  auto param = ParameterSpec::New(name, type);
  param->SetShortName(short_name);
  param->SetDescription(description);
  return param;
}

// `test action`: a bool result, a required string, flags, a boolean and a
// range. (Option parsing itself is tested in process, in tests/framework.)
class Action : public AutoCli::Command {
 public:
  Action() {
    SetDescription("Do something to a volume.");
    AddExample("-n vol1 -e true", "Do it to 'vol1'.");
  }

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override {
    auto spec = CallSpec::InputSpec::New();
    auto name = Param("name", CallSpec::PARAM_STRING, "n", "The volume.");
    name->SetRequired(true);
    spec->AddParameter(name);
    spec->AddParameter(Param("enabled", CallSpec::PARAM_BOOL, "e", "The new state."));
    auto depth = Param("depth", CallSpec::PARAM_INT, "q", "Queue depth.");
    auto range = CallSpec::ParameterConstraint::New(CallSpec::CONSTRAINT_INT_RANGE);
    range->SetIntRange(1, 4294967295LL);
    depth->SetConstraint(range);
    spec->AddParameter(depth);
    spec->AddParameter(Param("fail", CallSpec::PARAM_FLAG, "f", "Report a failure."));
    spec->AddParameter(Param("throw", CallSpec::PARAM_FLAG, "", "Fail with an exception."));
    return spec;
  }
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override {
    auto spec = CallSpec::OutputSpec::New();
    spec->SetRootObject(MetaBool::New());
    return spec;
  }
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override {
    const std::string name = input->GetParameter("name");
    if (input->IsFlagSet("throw")) throw std::runtime_error("Unexpected failure on " + name);
    if (input->IsFlagSet("fail")) {
      output->AddErrorMessage("Cannot act on '" + name + "': it is busy");
      output->AddErrorMessage("Second message");
      return;
    }
    output->SetRootObject(MetaBool::New(true));
  }
};

std::shared_ptr<MetaStruct> Row(const std::string& name, int64_t size, bool mounted) {
  auto row = MetaStruct::New("TestVolume");
  row->SetField("Name", MetaString::New(name));
  row->SetField("UUID", MetaString::New("5f1e2d3c-8a7b6c5d-1e2f-" + std::to_string(size)));
  row->SetField("Mounted", MetaBool::New(mounted));
  row->SetField("Size", MetaInt::New(size));
  return row;
}

// `test list` (table) and `test records` (simple, one header per record):
// one row per --name, or three awkward ones; --partial stops after the
// first row with an error.
class List : public AutoCli::Command {
 public:
  explicit List(const char* formatter) {
    SetDescription("List test volumes.");
    SetDefaultOutputFormatter(formatter);
    SetDefaultOutputParameter("header:TestVolume", "Volume %Name%");
    SetDefaultOutputParameter("fields:TestVolume", "Name, Size,Mounted");
    SetDefaultOutputParameter("units:TestVolume.Size", "MiB");
  }

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override {
    auto spec = CallSpec::InputSpec::New();
    spec->AddParameter(Param("name", CallSpec::PARAM_STRING_LIST, "n", "Volumes to list."));
    spec->AddParameter(Param("partial", CallSpec::PARAM_FLAG, "p", "Fail after one row."));
    return spec;
  }
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override {
    auto spec = CallSpec::OutputSpec::New();
    spec->SetRootObject(MetaObj::MetaList::New(MetaObj::META_STRUCT, Row("", 0, false)));
    return spec;
  }
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override {
    auto list = MetaObj::MetaList::New(MetaObj::META_STRUCT, Row("", 0, false));
    std::vector<std::string> names = input->GetParameterList("name");
    if (!input->HasParameter("name")) {
      names = {"plain", "a \"quoted\", comma", "<&> new\nline \xff"};
    }
    int64_t size = 100;
    for (const auto& name : names) {
      list->Add(Row(name, size, size % 200 == 0));
      size += 100;
      if (input->IsFlagSet("partial")) {
        output->AddErrorMessage("Error reading volume after '" + name + "', skipping.");
        break;
      }
    }
    output->SetRootObject(list);
  }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void AutoCli_RegisterNamespaces(NodePtr root) {
  if (std::getenv("TARVEX_TEST_PLUGIN_FAIL")) {
    throw CordraToolException("Unable to find 'nowhere' namespace in namespace '" +
                              root->GetName() + "'");
  }
}

extern "C" __attribute__((visibility("default"))) void FilesystemNfs_RegisterNamespaces(
    NodePtr parent) {
  // A failed cast here would mean the plug-in sees other type information
  // than the shell.
  if (!std::dynamic_pointer_cast<AutoCli::Namespace>(parent)) {
    throw CordraToolException("The storage node is not a namespace");
  }
  auto test = AutoCli::Namespace::New();
  test->SetDescription("Commands for the shell's tests.");
  test->RegisterNamespaceNode(std::make_shared<Action>(), "action");
  test->RegisterNamespaceNode(std::make_shared<List>("table"), "list");
  test->RegisterNamespaceNode(std::make_shared<List>("simple"), "records");
  parent->RegisterNamespaceNode(test, "test");
}
