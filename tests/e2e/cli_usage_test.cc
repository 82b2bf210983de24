// tarvexcli's command line: help, usage errors, loading the plug-in.
#include <algorithm>
#include <fstream>

#include "tests/e2e/cli_fixture.h"

namespace TarvexE2e {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(CliTest, VersionNeedsNothingElse) {
  RunResult r = Cli({"--version"}, {{"TARVEX_PLUGIN", "/nonexistent.so"}});
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(std::string("tarvexcli ") + TARVEX_VERSION + "\n", r.out);
  EXPECT_EQ("", r.err);
}

TEST_F(CliTest, RootHelpOnRequestAndOnAnEmptyCommandLine) {
  RunResult help = Cli({"--help"});
  EXPECT_EQ(0, help.status);
  EXPECT_EQ("", help.err);
  EXPECT_TRUE(Contains(help.out, "Usage: tarvexcli [global options]")) << help.out;
  EXPECT_TRUE(Contains(help.out, "also when the plug-in cannot be\n     loaded")) << help.out;
  EXPECT_TRUE(Contains(help.out,
                       "Available namespaces:\n"
                       "  storage  Operations pertaining to storage on the host.\n"))
      << help.out;

  RunResult bare = Cli({});
  EXPECT_EQ(2, bare.status);
  EXPECT_EQ("", bare.out);
  EXPECT_EQ(help.out, bare.err);
}

TEST_F(CliTest, NamespaceHelpGoesToStdoutOnlyWhenAskedFor) {
  RunResult asked = Cli({"storage", "test", "--help"});
  EXPECT_EQ(0, asked.status);
  EXPECT_TRUE(Contains(asked.out,
                       "Commands for the shell's tests.\n\nAvailable commands:\n"
                       "  action   Do something to a volume.\n"
                       "  list     List test volumes.\n"))
      << asked.out;
  RunResult missing = Cli({"storage", "test"});
  EXPECT_EQ(2, missing.status);
  EXPECT_EQ("", missing.out);
  EXPECT_EQ(asked.out, missing.err);
  // --help in the middle of the path: the node the path leads to.
  EXPECT_EQ(asked.out, Cli({"storage", "--help", "test"}).out);
}

TEST_F(CliTest, CommandHelpWinsOverEverythingElseAfterIt) {
  RunResult r = Cli({"storage", "test", "action", "-q", "0", "--help"});
  EXPECT_EQ(0, r.status);
  EXPECT_TRUE(Contains(r.out, "Usage: tarvexcli [global options] storage test action [options]\n"))
      << r.out;
  EXPECT_TRUE(Contains(r.out, "  -n, --name <string> (required)\n      The volume.\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "      How: fast, safe.\n        fast  Quickly\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "  tarvexcli storage test action -n vol1 -e true\n")) << r.out;
}

TEST_F(CliTest, UnknownNamesSuggestTheNearest) {
  RunResult r = Cli({"storage", "tset", "list"});
  EXPECT_EQ(2, r.status);
  EXPECT_EQ("Unknown namespace or command 'tset' in 'storage': did you mean 'test'?\n", r.err);
  EXPECT_EQ("Unknown namespace or command 'strage': did you mean 'storage'?\n",
            Cli({"strage"}).err);
  EXPECT_EQ("Unknown option '--nmae': did you mean '--name'?\n",
            Cli({"storage", "test", "action", "--nmae", "x"}).err);
  EXPECT_EQ("Unknown option '--no-headers': did you mean '--no-header'?\n",
            Cli({"--no-headers", "storage"}).err);
}

TEST_F(CliTest, UsageErrorsExitTwoWithOneLine) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"storage", "test", "action"}, "Missing required option --name"},
      {{"storage", "test", "action", "-n", "v", "-q", "0"},
       "Invalid value '0' for --depth: expected an integer from 1 to 4294967295"},
      {{"storage", "test", "action", "-n", "v", "-m", "slow"},
       "Invalid value 'slow' for --mode: expected one of: fast, safe"},
      {{"storage", "test", "action", "-n", "v", "-e", "maybe"},
       "Invalid value 'maybe' for --enabled: expected true or false"},
      {{"storage", "test", "action", "-n", "v", "extra"},
       "Unexpected argument 'extra': this command takes options only"},
      {{"--format", "yaml", "storage"},
       "Invalid value 'yaml' for --format: expected one of: table, simple, json, csv, xml"},
      {{"storage", "--format", "json", "test", "list"},
       "Unexpected option '--format' after 'storage': global options go before the command path"},
      {{"--fields", "Nope", "storage", "test", "list"},
       "Unknown field 'Nope' in --fields: expected one of 'Name', 'UUID', 'Mounted', 'Size'"},
      {{"--fields", "Name", "storage", "test", "action", "-n", "v"},
       "Option --fields does not apply: this command's result has no fields"},
  };
  for (const auto& c : cases) {
    RunResult r = Cli(c.first);
    EXPECT_EQ(2, r.status) << c.second;
    EXPECT_EQ("", r.out) << c.second;
    EXPECT_EQ(c.second + "\n", r.err);
  }
}

TEST_F(CliTest, PluginProblemsAreOneLineAndExitFour) {
  RunResult missing = Cli({"storage"}, {{"TARVEX_PLUGIN", "/nonexistent/libplugin.so"}});
  EXPECT_EQ(2, missing.status);
  EXPECT_EQ(
      "Cannot load plug-in /nonexistent/libplugin.so: cannot open shared object file: No such "
      "file or directory\n",
      missing.err);

  // A library without the entry points: the framework's own.
  const std::string cordra = std::string(TARVEX_BIN_DIR) + "/../lib/libcordra.so";
  RunResult no_entry = Cli({"storage"}, {{"TARVEX_PLUGIN", cordra}});
  EXPECT_EQ(2, no_entry.status);
  EXPECT_EQ("Plug-in " + cordra + " has no entry point 'AutoCli_RegisterNamespaces'\n",
            no_entry.err);

  // A CordraToolException thrown in the plug-in is caught in the shell.
  RunResult refused = Cli({"storage"}, {{"TARVEX_TEST_PLUGIN_FAIL", "1"}});
  EXPECT_EQ(2, refused.status);
  EXPECT_EQ("Unable to find 'nowhere' namespace in namespace 'root'\n", refused.err);
}

TEST_F(CliTest, UnusableStoreExitsThree) {
  std::ofstream(StorePath()) << "this is not a database, just some text of ours\n";
  RunResult r = Cli({"storage", "test", "list"});
  EXPECT_EQ(3, r.status);
  EXPECT_EQ("", r.out);
  EXPECT_TRUE(Contains(r.err, StorePath())) << r.err;
  EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
}

TEST_F(CliTest, StoreComesFromTheEnvironmentWithoutTheOption) {
  const std::string env_store = dir_.path() + "/from-env.db";
  RunResult r = RunBinary(BinPath("tarvexcli"), {"storage", "test", "action", "-n", "v"},
                          {{"TARVEX_PLUGIN", TARVEX_E2E_PLUGIN}, {"TARVEX_HOST_STORE", env_store}});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_TRUE(std::ifstream(env_store).good());
}

}  // namespace
}  // namespace TarvexE2e
