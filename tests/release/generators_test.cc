// The completion and reference generators on a small tree of their own,
// which has each kind of option, constraint and output they describe.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/man_page.h"
#include "framework/shell/completion.h"
#include "framework/shell/reference.h"
#include "framework/shell/tree_walk.h"
#include "tests/framework/test_support.h"

namespace TarvexShell {
namespace {

using Cordra::AutoCli::Namespace;
using Cordra::AutoCli::NamespaceNode;
using Cordra::CallSpec::InputSpec;
using Cordra::CallSpec::OutputSpec;
using Cordra::CallSpec::ParameterConstraint;
using Cordra::MetaObj::MetaBool;
using Cordra::MetaObj::MetaInt;
using Cordra::MetaObj::MetaList;
using Cordra::MetaObj::MetaString;
using Cordra::MetaObj::MetaStruct;
using Cordra::Testing::FakeCommand;
using Cordra::Testing::Param;

std::shared_ptr<OutputSpec> Returning(std::shared_ptr<Cordra::MetaObj::MetaObj> prototype) {
  auto spec = OutputSpec::New();
  spec->SetRootObject(std::move(prototype));
  return spec;
}

std::shared_ptr<FakeCommand> SetCommand(const std::string& level) {
  auto input = InputSpec::New();
  auto param = Param("level", Cordra::CallSpec::PARAM_STRING, "l", true);
  param->SetDescription("Level to use: %ENUM%.");
  auto levels = ParameterConstraint::New(Cordra::CallSpec::CONSTRAINT_STRING_ENUM);
  levels->AddStringEnum(level, "Least work, for *tests*");
  levels->AddStringEnum("high");
  param->SetConstraint(levels);
  input->AddParameter(param);
  param = Param("depth", Cordra::CallSpec::PARAM_INT);
  param->SetDescription("Queue depth");
  auto range = ParameterConstraint::New(Cordra::CallSpec::CONSTRAINT_INT_RANGE);
  range->SetIntRange(1, 64);
  param->SetConstraint(range);
  input->AddParameter(param);
  param = Param("enabled", Cordra::CallSpec::PARAM_BOOL, "e", true);
  param->SetDescription("Whether it is on");
  input->AddParameter(param);
  input->AddParameter(Param("host", Cordra::CallSpec::PARAM_STRING_LIST, "H"));
  input->AddParameter(Param("wait", Cordra::CallSpec::PARAM_FLAG));
  auto command = FakeCommand::New(input, Returning(MetaBool::New()));
  command->SetDescription("Set the <level> of a_demo_volume.");
  command->AddExample("-l " + level + " -e true", "Set the level to " + level + ".");
  return command;
}

std::shared_ptr<FakeCommand> ListCommand() {
  auto row = MetaStruct::New("DemoRow");
  row->SetField("Name", MetaString::New());
  row->SetField("Size", MetaInt::New());
  row->SetField("Ok", MetaBool::New());
  auto command = FakeCommand::New(InputSpec::New(),
                                  Returning(MetaList::New(Cordra::MetaObj::META_STRUCT, row)));
  command->SetDescription("List the demo rows.");
  command->SetDefaultOutputFormatter("simple");
  command->SetDefaultOutputParameter("fields:DemoRow", "Size, Name");
  command->SetDefaultOutputParameter("units:DemoRow.Size", "MiB");
  command->SetDefaultOutputParameter("header:DemoRow", "%Name%");
  command->AddExample("", "");
  return command;
}

std::shared_ptr<FakeCommand> ShowCommand() {
  auto info = MetaStruct::New("DemoInfo");
  info->SetField("Name", MetaString::New());
  info->SetField("Size", MetaInt::New());
  auto command = FakeCommand::New(InputSpec::New(), Returning(info));
  command->SetDescription("Show one demo.");
  return command;
}

// root > storage > demo > {level > set, list, show, nothing}
std::shared_ptr<NamespaceNode> DemoTree(const std::string& level = "low") {
  auto root = Namespace::New();
  root->SetName("root");
  auto storage = Namespace::New();
  storage->SetDescription("Operations pertaining to storage on the host.");
  root->RegisterNamespaceNode(storage, "storage");
  auto demo = Namespace::New();
  demo->SetDescription("Demo operations.");
  storage->RegisterNamespaceNode(demo, "demo");
  auto levels = Namespace::New();
  levels->SetDescription("Operations on levels.");
  levels->RegisterNamespaceNode(SetCommand(level), "set");
  demo->RegisterNamespaceNode(levels, "level");
  demo->RegisterNamespaceNode(ListCommand(), "list");
  demo->RegisterNamespaceNode(ShowCommand(), "show");
  demo->RegisterNamespaceNode(FakeCommand::New(nullptr, nullptr), "nothing");
  return root;
}

std::shared_ptr<InputSpec> Globals() {
  auto globals = InputSpec::New();
  auto format = Param("format", Cordra::CallSpec::PARAM_STRING);
  auto formats = ParameterConstraint::New(Cordra::CallSpec::CONSTRAINT_STRING_ENUM);
  formats->AddStringEnum("table");
  formats->AddStringEnum("json");
  format->SetConstraint(formats);
  globals->AddParameter(format);
  globals->AddParameter(Param("store", Cordra::CallSpec::PARAM_STRING));
  globals->AddParameter(Param("help", Cordra::CallSpec::PARAM_FLAG));
  return globals;
}

TEST(MarkdownReferenceTest, DescribesEveryNodeOptionAndOutput) {
  auto root = DemoTree();
  Cordra::Testing::ExpectGolden("reference.md", MarkdownReference(FlattenTree(*root)));
}

// The same reference as the manual page has it: escapes, literals, lists.
TEST(ManualPageTest, HoldsTheReferenceAsRoff) {
  auto root = DemoTree();
  Cordra::Testing::ExpectGolden("reference.1", RoffReference(FlattenTree(*root)));
}

TEST(BashCompletionTest, RefusesWordsItCannotOffer) {
  for (const std::string value : {"very low", "lo:w", "lo=w", "it's", ""}) {
    auto root = DemoTree(value);
    try {
      BashCompletion(FlattenTree(*root), *Globals());
      ADD_FAILURE() << "accepted '" << value << "'";
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ("Cannot complete the value of --level '" + value +
                    "': not a plain word (letters, digits, _.,/+-)",
                std::string(e.what()));
    }
  }
}

TEST(BashCompletionTest, RefusesFieldNamesItCannotOffer) {
  for (const std::string name : {"it's", "a|b", "two\nlines", ""}) {
    auto root = DemoTree();
    auto row = MetaStruct::New("OddRow");
    row->SetField(name, MetaString::New());
    auto odd = FakeCommand::New(InputSpec::New(),
                                Returning(MetaList::New(Cordra::MetaObj::META_STRUCT, row)));
    std::dynamic_pointer_cast<Namespace>(root->GetNamespaceNode("storage"))
        ->RegisterNamespaceNode(odd, "odd");
    try {
      BashCompletion(FlattenTree(*root), *Globals());
      ADD_FAILURE() << "accepted '" << name << "'";
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ("Cannot complete the field '" + name + "': it holds a quote, '|' or a newline",
                std::string(e.what()));
    }
  }
}

// A program's --help text as a page: each kind of block, at the top and
// inside a section.
TEST(ManualPageTest, TurnsHelpBlocksIntoRoff) {
  const std::string help =
      "Usage: demo [OPTIONS] <command>\n"
      "       demo --help\n"
      "\n"
      "Run a demo on a .store of its own.\n"
      "It has two lines.\n"
      "\n"
      "Options (before the command):\n"
      "  --store PATH  the store\n"
      "                to use\n"
      "  -q            quiet\n"
      "\n"
      "Exit status:\n"
      "  0  done\n"
      "\n"
      "  --x  alone\n"
      "\n"
      "  -y  not an item:\n"
      "its line after goes back to the margin\n"
      "\n  -z  nor this:\n  a line at its indent has no gap\n";
  TarvexMan::ManPage top("demo-x", "a demo", "demo 1.0");
  top.Help(help, true);
  EXPECT_EQ(
      ".TH DEMO\\-X 1 \"\" \"demo 1.0\" \"User Commands\"\n.ad l\n.SH NAME\ndemo\\-x \\- a demo\n"
      ".SH \"SYNOPSIS\"\n.PP\ndemo [OPTIONS] <command>\n.br\ndemo --help\n"
      ".SH \"DESCRIPTION\"\n.PP\nRun a demo on a .store of its own. It has two lines.\n"
      ".SH \"OPTIONS\"\n.PP\nBefore the command.\n"
      ".TP\n\\fB\\-\\-store PATH\\fR\nthe store to use\n.TP\n\\fB\\-q\\fR\nquiet\n"
      ".SH \"EXIT STATUS\"\n.TP\n\\fB0\\fR\ndone\n"
      ".TP\n\\fB\\-\\-x\\fR\nalone\n"
      ".PP\n-y  not an item: its line after goes back to the margin\n"
      ".PP\n-z  nor this: a line at its indent has no gap\n",
      top.str());
  TarvexMan::ManPage inner("demo", "a demo", "demo 1.0");
  inner.Help(help, false);
  const std::string body = inner.str().substr(inner.str().find(".PP"));
  EXPECT_EQ(
      ".PP\ndemo [OPTIONS] <command>\n.br\ndemo --help\n"
      ".PP\nRun a demo on a .store of its own. It has two lines.\n"
      ".PP\nOptions:\n.PP\nBefore the command.\n"
      ".TP\n\\fB\\-\\-store PATH\\fR\nthe store to use\n.TP\n\\fB\\-q\\fR\nquiet\n"
      ".PP\nExit status:\n.TP\n\\fB0\\fR\ndone\n"
      ".TP\n\\fB\\-\\-x\\fR\nalone\n"
      ".PP\n-y  not an item: its line after goes back to the margin\n"
      ".PP\n-z  nor this: a line at its indent has no gap\n",
      body);
}

}  // namespace
}  // namespace TarvexShell
