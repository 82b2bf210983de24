// What a command declares (its parameters and the shape of its result) and
// what it receives and fills when it runs (the parsed Input and the Output).
#ifndef CORDRA_CALL_SPEC_H_
#define CORDRA_CALL_SPEC_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cordra/meta_obj.h"

namespace Cordra {
namespace CallSpec {

enum ParameterType {
  PARAM_STRING = 0,
  PARAM_INT = 1,
  PARAM_BOOL = 2,         // takes a true/false value
  PARAM_FLAG = 3,         // present or absent, takes no value
  PARAM_STRING_LIST = 4,  // the option may be given more than once
};

enum ParameterConstraintType {
  CONSTRAINT_INT_RANGE = 1,
  CONSTRAINT_STRING_ENUM = 3,
};

class ParameterConstraint {
 public:
  struct EnumValue {
    std::string value;
    std::string description;  // may be empty
  };

  static std::shared_ptr<ParameterConstraint> New(ParameterConstraintType type);
  ParameterConstraint(const ParameterConstraint&) = delete;
  ParameterConstraint& operator=(const ParameterConstraint&) = delete;

  ParameterConstraintType GetType() const { return type_; }
  void AddStringEnum(const std::string& value, const std::string& description = "");
  // Inclusive bounds.
  void SetIntRange(int64_t min, int64_t max);

  const std::vector<EnumValue>& GetStringEnums() const { return enums_; }
  int64_t GetIntMin() const { return min_; }
  int64_t GetIntMax() const { return max_; }

 private:
  explicit ParameterConstraint(ParameterConstraintType type) : type_(type) {}
  ParameterConstraintType type_;
  std::vector<EnumValue> enums_;
  int64_t min_ = INT64_MIN;
  int64_t max_ = INT64_MAX;
};

class ParameterSpec {
 public:
  static std::shared_ptr<ParameterSpec> New(const std::string& name, ParameterType type);
  ParameterSpec(const ParameterSpec&) = delete;
  ParameterSpec& operator=(const ParameterSpec&) = delete;

  void SetShortName(const std::string& short_name);
  void SetDescription(const std::string& description);
  void SetRequired(bool required);
  void SetConstraint(std::shared_ptr<ParameterConstraint> constraint);

  const std::string& GetName() const { return name_; }
  ParameterType GetType() const { return type_; }
  const std::string& GetShortName() const { return short_name_; }  // "" when none
  const std::string& GetDescription() const { return description_; }
  bool IsRequired() const { return required_; }
  const std::shared_ptr<ParameterConstraint>& GetConstraint() const { return constraint_; }

 private:
  ParameterSpec(std::string name, ParameterType type) : name_(std::move(name)), type_(type) {}
  std::string name_;
  ParameterType type_;
  std::string short_name_;
  std::string description_;
  bool required_ = false;
  std::shared_ptr<ParameterConstraint> constraint_;
};

class InputSpec {
 public:
  static std::shared_ptr<InputSpec> New();
  InputSpec(const InputSpec&) = delete;
  InputSpec& operator=(const InputSpec&) = delete;

  void AddParameter(std::shared_ptr<ParameterSpec> parameter);
  // In the order they were added.
  const std::vector<std::shared_ptr<ParameterSpec>>& GetParameters() const { return params_; }
  // The parameter with that long name, or null.
  std::shared_ptr<ParameterSpec> FindParameter(const std::string& name) const;

 private:
  InputSpec() = default;
  std::vector<std::shared_ptr<ParameterSpec>> params_;
};

class OutputSpec {
 public:
  static std::shared_ptr<OutputSpec> New();
  OutputSpec(const OutputSpec&) = delete;
  OutputSpec& operator=(const OutputSpec&) = delete;

  // The prototype of the result: MetaBool, MetaStruct or MetaList.
  void SetRootObject(std::shared_ptr<MetaObj::MetaObj> prototype);
  const std::shared_ptr<MetaObj::MetaObj>& GetRootObject() const { return root_; }

 private:
  OutputSpec() = default;
  std::shared_ptr<MetaObj::MetaObj> root_;
};

// The arguments of one run, already checked against the InputSpec by the
// framework (types, ranges, enumerations, required parameters). Reading a
// parameter that was not given yields the empty value of its type.
class Input {
 public:
  Input() = default;
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  bool HasParameter(const std::string& name) const;
  std::string GetParameter(const std::string& name) const;
  int64_t GetParameterInt(const std::string& name) const;
  bool GetParameterBool(const std::string& name) const;
  bool IsFlagSet(const std::string& name) const;
  std::vector<std::string> GetParameterList(const std::string& name) const;

  // Used by the framework's parser. A string-list parameter collects every
  // value given; a flag is recorded with the value "true".
  void AddValue(const std::string& name, const std::string& value);

 private:
  std::map<std::string, std::vector<std::string>> values_;
};

// What one run produced: at most one root object and any number of error
// messages, in the order they were added.
class Output {
 public:
  Output() = default;
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void SetRootObject(std::shared_ptr<MetaObj::MetaObj> value);
  void AddErrorMessage(const std::string& text);

  const std::shared_ptr<MetaObj::MetaObj>& GetRootObject() const { return root_; }
  const std::vector<std::string>& GetErrorMessages() const { return errors_; }

 private:
  std::shared_ptr<MetaObj::MetaObj> root_;
  std::vector<std::string> errors_;
};

}  // namespace CallSpec
}  // namespace Cordra

#endif  // CORDRA_CALL_SPEC_H_
