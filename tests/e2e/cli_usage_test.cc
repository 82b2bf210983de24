// tarvexcli's command line: help, usage errors, loading the plug-in.
#include <algorithm>
#include <fstream>

#include "tests/e2e/storage_fixture.h"

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

// Help asked for goes to stdout with status 0; a path that stops short of a
// command prints the same help to stderr with status 2.
TEST_F(CliTest, HelpOnRequestAndWhenTheCommandIsMissing) {
  const std::string namespace_help =
      "Commands for the shell's tests.\n\nAvailable commands:\n"
      "  action   Do something to a volume.\n"
      "  list     List test volumes.\n";
  const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
      {{"--help"},
       {"Usage: tarvexcli [global options]", "also when the plug-in cannot be\n     loaded",
        "Available namespaces:\n  storage  Operations pertaining to storage on the host.\n"}},
      {{"storage", "test", "--help"}, {namespace_help}},
      // --help in the middle of the path: the node the path leads to.
      {{"storage", "--help", "test"}, {namespace_help}},
      // --help after a command wins over everything else after it.
      {{"storage", "test", "action", "-q", "0", "--help"},
       {"Usage: tarvexcli [global options] storage test action [options]\n",
        "  tarvexcli storage test action -n vol1 -e true\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first.back());
    RunResult r = Cli(c.first);
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.err);
    for (const std::string& part : c.second) EXPECT_TRUE(Contains(r.out, part)) << r.out;
  }
  for (const std::vector<std::string>& path :
       {std::vector<std::string>{}, std::vector<std::string>{"storage", "test"}}) {
    RunResult r = Cli(path);
    std::vector<std::string> asked = path;
    asked.push_back("--help");
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ(Cli(asked).out, r.err);
  }
}

TEST_F(CliTest, UsageErrorsExitTwoWithOneLine) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"storage", "tset", "list"},
       "Unknown namespace or command 'tset' in 'storage': did you mean 'test'?"},
      {{"strage"}, "Unknown namespace or command 'strage': did you mean 'storage'?"},
      {{"--no-headers", "storage"}, "Unknown option '--no-headers': did you mean '--no-header'?"},
      {{"storage", "test", "action", "-n", "v", "extra"},
       "Unexpected argument 'extra': this command takes options only"},
      {{"--format", "yaml", "storage"},
       "Invalid value 'yaml' for --format: expected one of: table, simple, json, csv, xml"},
      {{"storage", "--nope", "test", "list"},
       "Unexpected option '--nope' after 'storage': expected a namespace or command"},
      {{"--fields", "Nope", "storage", "test", "list"},
       "Unknown field 'Nope' in --fields: expected one of 'Name', 'UUID', 'Mounted', 'Size'"},
      {{"--fields", "Name", "storage", "test", "action", "-n", "v"},
       "Option --fields does not apply: this command's result has no fields"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    RunResult r = Cli(c.first);
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ(c.second + "\n", r.err);
  }
}

// A plug-in that cannot be loaded or refuses to register is one line, status 2.
TEST_F(CliTest, PluginProblemsAreOneLine) {
  // A library without the entry points: the framework's own.
  const std::string cordra = std::string(TARVEX_BIN_DIR) + "/../lib/libcordra.so";
  const std::vector<std::pair<std::map<std::string, std::string>, std::string>> cases = {
      {{{"TARVEX_PLUGIN", "/nonexistent/libplugin.so"}},
       "Cannot load plug-in /nonexistent/libplugin.so: cannot open shared object file: No such "
       "file or directory"},
      {{{"TARVEX_PLUGIN", cordra}},
       "Plug-in " + cordra + " has no entry point 'AutoCli_RegisterNamespaces'"},
      // A CordraToolException thrown in the plug-in is caught in the shell.
      {{{"TARVEX_TEST_PLUGIN_FAIL", "1"}},
       "Unable to find 'nowhere' namespace in namespace 'root'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    RunResult r = Cli({"storage"}, c.first);
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(c.second + "\n", r.err);
  }
}

TEST_F(CliTest, UnusableStoreExitsThree) {
  std::ofstream(Store()) << "this is not a database, just some text of ours\n";
  RunResult r = Cli({"storage", "test", "list"});
  EXPECT_EQ(3, r.status);
  EXPECT_EQ("", r.out);
  EXPECT_TRUE(Contains(r.err, Store())) << r.err;
  EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
}

TEST_F(CliTest, StoreComesFromTheEnvironmentWithoutTheOption) {
  const std::string env_store = dir_path() + "/from-env.db";
  RunResult r = RunBinary(BinPath("tarvexcli"), {"storage", "test", "action", "-n", "v"},
                          {{"TARVEX_PLUGIN", TARVEX_E2E_PLUGIN}, {"TARVEX_HOST_STORE", env_store}});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_TRUE(std::ifstream(env_store).good());
}

}  // namespace
}  // namespace TarvexE2e
