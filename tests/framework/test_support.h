// Helpers shared by the framework tests: a command made from parts, and
// golden-file comparison.
#ifndef TESTS_FRAMEWORK_TEST_SUPPORT_H_
#define TESTS_FRAMEWORK_TEST_SUPPORT_H_

#include <functional>
#include <memory>
#include <string>

#include "cordra/cordra.h"

namespace Cordra {
namespace Testing {

// A command whose specifications and behaviour are given by the test.
class FakeCommand : public AutoCli::Command {
 public:
  using Run = std::function<void(const InputPtr&, const OutputPtr&)>;
  static std::shared_ptr<FakeCommand> New(std::shared_ptr<CallSpec::InputSpec> input,
                                          std::shared_ptr<CallSpec::OutputSpec> output,
                                          Run run = nullptr);

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override { return input_; }
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override { return output_; }
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 private:
  FakeCommand() = default;
  std::shared_ptr<CallSpec::InputSpec> input_;
  std::shared_ptr<CallSpec::OutputSpec> output_;
  Run run_;
};

std::shared_ptr<CallSpec::ParameterSpec> Param(const std::string& name,
                                               CallSpec::ParameterType type,
                                               const std::string& short_name = "",
                                               bool required = false);

// Compares `actual` with tests/framework/golden/<name>. With
// TARVEX_UPDATE_GOLDEN=1 in the environment it rewrites the file instead.
void ExpectGolden(const std::string& name, const std::string& actual);

}  // namespace Testing
}  // namespace Cordra

#endif  // TESTS_FRAMEWORK_TEST_SUPPORT_H_
