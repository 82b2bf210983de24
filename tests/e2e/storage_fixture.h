// Runs the built tarvexcli with the real plug-in, and tarvex-host, on a
// store of the test's own (the default host unless the test loads a fixture).
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

  RunResult Cli(const std::vector<std::string>& args) const {
    std::vector<std::string> full = {"--store", Store()};
    full.insert(full.end(), args.begin(), args.end());
    return RunBinary(BinPath("tarvexcli"), full, Env());
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
  static std::map<std::string, std::string> Env() {
    return {{"TARVEX_PLUGIN", ""}, {"TARVEX_HOST_STORE", ""}};
  }
  TempDir dir_;
};

}  // namespace TarvexE2e

#endif  // TESTS_E2E_STORAGE_FIXTURE_H_
