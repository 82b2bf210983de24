// Runs the built tarvexcli and tarvex-host on a store of the test's own, for
// the disk-full test in tests/reliability (what a user sees otherwise is in
// the transcripts under tests/cram).
#ifndef TESTS_E2E_STORAGE_FIXTURE_H_
#define TESTS_E2E_STORAGE_FIXTURE_H_

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/run_binary.h"

namespace TarvexE2e {

class StorageTest : public ::testing::Test {
 protected:
  std::string Store() const { return dir_.path() + "/host.db"; }

  // tarvexcli --store <the store> ARGS.
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
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "true\n");
    EXPECT_EQ(run.err, "");
  }

  // `jq -r FILTER` over the JSON output of `tarvexcli --format json ARGS`.
  std::string JsonOf(const std::vector<std::string>& args, const std::string& filter) const {
    std::vector<std::string> full = {"--format", "json"};
    full.insert(full.end(), args.begin(), args.end());
    RunResult run = Cli(full);
    EXPECT_EQ(run.err, "");
    RunResult jq = RunBinary("/usr/bin/jq", {"-r", filter}, {}, run.out);
    EXPECT_EQ(jq.status, 0) << jq.err;
    return jq.out;
  }

 private:
  static std::map<std::string, std::string> Env() {
    return {{"TARVEX_PLUGIN", ""}, {"TARVEX_HOST_STORE", ""}};
  }
  TempDir dir_;
};

}  // namespace TarvexE2e

#endif  // TESTS_E2E_STORAGE_FIXTURE_H_
