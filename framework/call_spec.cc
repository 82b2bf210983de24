#include "cordra/call_spec.h"

#include <utility>

#include "framework/value_text.h"

namespace Cordra {
namespace CallSpec {

std::shared_ptr<ParameterConstraint> ParameterConstraint::New(ParameterConstraintType type) {
  return std::shared_ptr<ParameterConstraint>(new ParameterConstraint(type));
}

void ParameterConstraint::AddStringEnum(const std::string& value, const std::string& description) {
  enums_.push_back({value, description});
}

void ParameterConstraint::SetIntRange(int64_t min, int64_t max) {
  min_ = min;
  max_ = max;
}

std::shared_ptr<ParameterSpec> ParameterSpec::New(const std::string& name, ParameterType type) {
  return std::shared_ptr<ParameterSpec>(new ParameterSpec(name, type));
}

void ParameterSpec::SetShortName(const std::string& short_name) { short_name_ = short_name; }
void ParameterSpec::SetDescription(const std::string& description) { description_ = description; }
void ParameterSpec::SetRequired(bool required) { required_ = required; }
void ParameterSpec::SetConstraint(std::shared_ptr<ParameterConstraint> constraint) {
  constraint_ = std::move(constraint);
}

std::shared_ptr<InputSpec> InputSpec::New() { return std::shared_ptr<InputSpec>(new InputSpec()); }

void InputSpec::AddParameter(std::shared_ptr<ParameterSpec> parameter) {
  params_.push_back(std::move(parameter));
}

std::shared_ptr<ParameterSpec> InputSpec::FindParameter(const std::string& name) const {
  for (const auto& param : params_) {
    if (param && param->GetName() == name) return param;
  }
  return nullptr;
}

std::shared_ptr<OutputSpec> OutputSpec::New() {
  return std::shared_ptr<OutputSpec>(new OutputSpec());
}

void OutputSpec::SetRootObject(std::shared_ptr<MetaObj::MetaObj> prototype) {
  root_ = std::move(prototype);
}

bool Input::HasParameter(const std::string& name) const { return values_.count(name) != 0; }

// A single-valued parameter has exactly one value once parsed; a string
// list read as a plain string yields its first value.
std::string Input::GetParameter(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? std::string() : it->second.front();
}

int64_t Input::GetParameterInt(const std::string& name) const {
  int64_t value = 0;
  if (!Frame::ParseInt64Text(GetParameter(name), &value)) return 0;
  return value;
}

bool Input::GetParameterBool(const std::string& name) const {
  bool value = false;
  if (!Frame::ParseBoolText(GetParameter(name), &value)) return false;
  return value;
}

bool Input::IsFlagSet(const std::string& name) const { return GetParameterBool(name); }

std::vector<std::string> Input::GetParameterList(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? std::vector<std::string>() : it->second;
}

void Input::AddValue(const std::string& name, const std::string& value) {
  values_[name].push_back(value);
}

void Output::SetRootObject(std::shared_ptr<MetaObj::MetaObj> value) { root_ = std::move(value); }

void Output::AddErrorMessage(const std::string& text) { errors_.push_back(text); }

}  // namespace CallSpec
}  // namespace Cordra
