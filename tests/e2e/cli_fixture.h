// Runs the built tarvexcli on a store of its own, with the test plug-in.
#ifndef TESTS_E2E_CLI_FIXTURE_H_
#define TESTS_E2E_CLI_FIXTURE_H_

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/run_binary.h"

namespace TarvexE2e {

class CliTest : public ::testing::Test {
 protected:
  std::string StorePath() const { return dir_.path() + "/host.db"; }

  // tarvexcli --store <temp store> ARGS, with TARVEX_PLUGIN at the test
  // plug-in unless `env` says otherwise.
  RunResult Cli(const std::vector<std::string>& args,
                std::map<std::string, std::string> env = {}) const {
    std::vector<std::string> full = {"--store", StorePath()};
    full.insert(full.end(), args.begin(), args.end());
    env.emplace("TARVEX_PLUGIN", TARVEX_E2E_PLUGIN);
    env.emplace("TARVEX_HOST_STORE", "");
    env.emplace("TARVEX_TEST_PLUGIN_FAIL", "");
    return RunBinary(BinPath("tarvexcli"), full, env);
  }

  // Feeds `text` to a checker such as jq or xmllint and returns its result.
  static RunResult Pipe(const std::string& text, const std::string& tool,
                        const std::vector<std::string>& args) {
    return RunBinary(tool, args, {}, text);
  }

  TempDir dir_;
};

}  // namespace TarvexE2e

#endif  // TESTS_E2E_CLI_FIXTURE_H_
