// The base of every command: its presentation (description, default
// formatter and output parameters, examples) and the three operations the
// framework calls on it.
#ifndef CORDRA_COMMAND_H_
#define CORDRA_COMMAND_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cordra/call_spec.h"
#include "cordra/namespace.h"

namespace Cordra {
namespace AutoCli {

class CommandSpec : public virtual NamespaceNode {
 public:
  using OutputParameter = std::pair<std::string, std::string>;
  struct Example {
    std::string arguments;
    std::string description;
  };

  // "table" or "simple"; empty when the command leaves it to the framework.
  void SetDefaultOutputFormatter(const std::string& name) { formatter_ = name; }
  const std::string& GetDefaultOutputFormatter() const { return formatter_; }

  // Keys begin "fields:<Struct>", "header:<Struct>" or "units:<Struct>.<Field>".
  // Setting a key again replaces its value.
  void SetDefaultOutputParameter(const std::string& key, const std::string& value);
  // The value for `key`, or "" when unset.
  std::string GetDefaultOutputParameter(const std::string& key) const;
  const std::vector<OutputParameter>& GetDefaultOutputParameters() const { return out_params_; }

  void AddExample(const std::string& arguments, const std::string& description) {
    examples_.push_back({arguments, description});
  }
  const std::vector<Example>& GetExamples() const { return examples_; }

  bool IsCommand() const override { return true; }
  ~CommandSpec() override;

 protected:
  CommandSpec() = default;

 private:
  std::string formatter_;
  std::vector<OutputParameter> out_params_;
  std::vector<Example> examples_;
};

class Command : public virtual CommandSpec {
 public:
  using InputPtr = std::shared_ptr<CallSpec::Input>;
  using OutputPtr = std::shared_ptr<CallSpec::Output>;
  ~Command() override;

  std::shared_ptr<CallSpec::InputSpec> GetInputSpec() { return GetInputSpecInternal(); }
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpec() { return GetOutputSpecInternal(); }
  // Runs the command once. Results and errors go into `output` only.
  void Execute(const InputPtr& input, const OutputPtr& output) { ExecuteInternal(input, output); }

 protected:
  Command() = default;
  virtual std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() = 0;
  virtual std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() = 0;
  virtual void ExecuteInternal(const InputPtr& input, const OutputPtr& output) = 0;
};

}  // namespace AutoCli
}  // namespace Cordra

#endif  // CORDRA_COMMAND_H_
