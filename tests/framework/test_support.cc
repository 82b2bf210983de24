#include "tests/framework/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace Cordra {
namespace Testing {

std::shared_ptr<FakeCommand> FakeCommand::New(std::shared_ptr<CallSpec::InputSpec> input,
                                              std::shared_ptr<CallSpec::OutputSpec> output,
                                              Run run) {
  std::shared_ptr<FakeCommand> command(new FakeCommand());
  command->BindThis(command);
  command->input_ = std::move(input);
  command->output_ = std::move(output);
  command->run_ = std::move(run);
  return command;
}

void FakeCommand::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  if (run_) run_(input, output);
}

std::shared_ptr<CallSpec::ParameterSpec> Param(const std::string& name,
                                               CallSpec::ParameterType type,
                                               const std::string& short_name, bool required) {
  auto param = CallSpec::ParameterSpec::New(name, type);
  param->SetShortName(short_name);
  param->SetRequired(required);
  return param;
}

void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string path = std::string(TARVEX_GOLDEN_DIR) + "/" + name;
  const char* update = std::getenv("TARVEX_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << "missing golden file " << path;
  std::stringstream expected;
  expected << file.rdbuf();
  EXPECT_EQ(expected.str(), actual) << "golden file " << path;
}

}  // namespace Testing
}  // namespace Cordra
