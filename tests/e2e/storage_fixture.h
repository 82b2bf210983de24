// Runs the built tarvexcli (with the real plug-in, or the test plug-in for
// CliTest) and tarvex-host on a store of the test's own: the default host
// unless the test loads a fixture.
#ifndef TESTS_E2E_STORAGE_FIXTURE_H_
#define TESTS_E2E_STORAGE_FIXTURE_H_

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/run_binary.h"

namespace TarvexE2e {

class StorageTest : public ::testing::Test {
 protected:
  std::string Store() const { return dir_.path() + "/host.db"; }
  std::string dir_path() const { return dir_.path(); }

  // tarvexcli --store <the store> ARGS; `env` goes on top of the test's own.
  RunResult Cli(const std::vector<std::string>& args,
                std::map<std::string, std::string> env = {}) const {
    std::vector<std::string> full = {"--store", Store()};
    full.insert(full.end(), args.begin(), args.end());
    for (const auto& var : Env()) env.emplace(var);
    return RunBinary(BinPath("tarvexcli"), full, env);
  }

  RunResult Host(const std::vector<std::string>& args) const {
    std::vector<std::string> full = {"--store", Store()};
    full.insert(full.end(), args.begin(), args.end());
    return RunBinary(BinPath("tarvex-host"), full, Env());
  }

  // Runs an action that must succeed as a user sees it: "true", no message, status 0.
  void ExpectTrue(const std::vector<std::string>& args) const {
    RunResult run = Cli(args);
    EXPECT_EQ(run.status, 0) << Joined(args) << ": " << run.err;
    EXPECT_EQ(run.out, "true\n") << Joined(args);
    EXPECT_EQ(run.err, "") << Joined(args);
  }

  // Runs a command that must fail as a user sees it: STATUS, OUT, and ERR, one message a line.
  void ExpectFails(const std::vector<std::string>& args, int status, const std::string& err,
                   const std::string& out = "") const {
    RunResult run = Cli(args);
    EXPECT_EQ(run.status, status) << Joined(args);
    EXPECT_EQ(run.out, out) << Joined(args);
    EXPECT_EQ(run.err, err) << Joined(args);
  }

  // Runs a command that succeeds and returns what it printed (nothing on stderr).
  std::string Output(const std::vector<std::string>& args) const {
    RunResult run = Cli(args);
    EXPECT_EQ(run.status, 0) << Joined(args) << ": " << run.err;
    EXPECT_EQ(run.err, "") << Joined(args);
    return run.out;
  }

  // `jq -r FILTER` over the JSON output of `tarvexcli --format json ARGS`.
  std::string JsonOf(const std::vector<std::string>& args, const std::string& filter) const {
    std::vector<std::string> full = {"--format", "json"};
    full.insert(full.end(), args.begin(), args.end());
    RunResult run = Cli(full);
    EXPECT_EQ(run.err, "") << Joined(args);
    return Jq(run.out, filter);
  }

  // Makes the store from fixture text.
  void LoadFixture(const std::string& json) {
    const std::string path = dir_.path() + "/fixture.json";
    std::ofstream(path) << json;
    RunResult init = Host({"init", "--fixture", path, "--force"});
    ASSERT_EQ(init.status, 0) << init.err;
  }

  void ArmFault(const std::string& operation, const std::string& object,
                const std::string& message) {
    RunResult fault =
        Host({"fault", "add", "--operation", operation, "--object", object, "--message", message});
    ASSERT_EQ(fault.status, 0) << fault.err;
  }

  // The datastore agent's notifications, "event input" a line.
  std::string Events() const {
    return Jq(Host({"events", "--json"}).out, ".[] | .event + \" \" + .input");
  }

  // Feeds `text` to a checker such as jq or xmllint and returns its result.
  static RunResult Pipe(const std::string& text, const std::string& tool,
                        const std::vector<std::string>& args) {
    return RunBinary(tool, args, {}, text);
  }

  // `jq -r FILTER` over `json`.
  static std::string Jq(const std::string& json, const std::string& filter) {
    RunResult jq = RunBinary("/usr/bin/jq", {"-r", filter}, {}, json);
    EXPECT_EQ(jq.status, 0) << jq.err;
    return jq.out;
  }

 private:
  static std::string Joined(const std::vector<std::string>& args) {
    std::string text = "tarvexcli";
    for (const std::string& arg : args) text += " " + arg;
    return text;
  }
  std::map<std::string, std::string> Env() const {
    return {{"TARVEX_PLUGIN", plugin_}, {"TARVEX_HOST_STORE", ""}, {"TARVEX_TEST_PLUGIN_FAIL", ""}};
  }
  TempDir dir_;

 protected:
  std::string plugin_;  // empty: the real plug-in
};

// tarvexcli with the test plug-in (test_plugin.cc) in place of the real one.
class CliTest : public StorageTest {
 protected:
  CliTest() { plugin_ = TARVEX_E2E_PLUGIN; }
};

}  // namespace TarvexE2e

#endif  // TESTS_E2E_STORAGE_FIXTURE_H_
