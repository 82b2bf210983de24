#include "framework/help.h"

#include <gtest/gtest.h>

#include "tests/framework/test_support.h"

namespace Cordra {
namespace Frame {
namespace {

using AutoCli::Namespace;
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

TEST(HelpTest, CommandWithoutParameters) {
  auto command = FakeCommand::New(CallSpec::InputSpec::New(), CallSpec::OutputSpec::New());
  command->SetDescription("Reset the Kovra Pointer Block cache statistics.");
  ExpectGolden("help_no_options.txt",
               CommandHelp(*command, "tarvexcli", "storage kovra pbcache reset", "simple"));
}

// The fields shown by default come first, in the order of the command's
// "fields:" hint; those the hint leaves out follow apart.
TEST(HelpTest, CommandListsItsOutputFieldsShownOnesFirst) {
  auto row = MetaObj::MetaStruct::New("FilesystemKovraExtents");
  row->SetField("Volume Name", MetaObj::MetaString::New());
  row->SetField("LVM UUID", MetaObj::MetaString::New());
  row->SetField("Partition", MetaObj::MetaInt::New());
  row->SetField("Free", MetaObj::MetaInt::New());
  auto output = CallSpec::OutputSpec::New();
  output->SetRootObject(MetaObj::MetaList::New(MetaObj::META_STRUCT, row));
  auto command = FakeCommand::New(CallSpec::InputSpec::New(), output);
  command->SetDefaultOutputParameter("fields:FilesystemKovraExtents",
                                     "Free, Volume Name,Partition");
  command->SetDefaultOutputParameter("units:FilesystemKovraExtents.Free", "MiB");
  const std::string help = CommandHelp(*command, "tarvexcli", "storage kovra extent list", "table");
  EXPECT_EQ(
      "Default format: table\n"
      "\n"
      "Output fields (one row per FilesystemKovraExtents, shown in this order):\n"
      "  Free         integer, in MiB\n"
      "  Volume Name  string\n"
      "  Partition    integer\n"
      "\n"
      "Other fields (shown when --fields names them):\n"
      "  LVM UUID  string\n",
      help.substr(help.find("Default format")));
}

TEST(HelpTest, NamespaceListsNamespacesAndCommandsApart) {
  auto nfs = Namespace::New();
  nfs->SetDescription(
      "Operations to create, manage, and remove Network Attached Storage filesystems.");
  for (const char* name : {"add", "remove"}) {
    auto command = FakeCommand::New(CallSpec::InputSpec::New(), CallSpec::OutputSpec::New());
    command->SetDescription(std::string("Command ") + name + ".");
    nfs->RegisterNamespaceNode(command, name);
  }
  auto preunmount = Namespace::New();
  preunmount->SetDescription("Enter or exit preunmount state.");
  nfs->RegisterNamespaceNode(preunmount, "preunmountstate");
  auto param = Namespace::New();
  param->SetDescription("Operations on volume parameters of NAS filesystems.");
  nfs->RegisterNamespaceNode(param, "param");
  ExpectGolden("help_namespace.txt", NamespaceHelp(*nfs, "tarvexcli", "storage nfs"));

  auto core = Namespace::New();
  core->SetDescription("Tarvex core storage commands. No operations are currently internal only.");
  ExpectGolden("help_empty_namespace.txt",
               NamespaceHelp(*core, "tarvexcli", "storage internal core"));
}

}  // namespace
}  // namespace Frame
}  // namespace Cordra
