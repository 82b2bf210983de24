#include "framework/param_text.h"

#include <cstdint>
#include <limits>

namespace Cordra {
namespace Frame {

std::shared_ptr<CallSpec::ParameterConstraint> ConstraintOf(
    const CallSpec::ParameterSpec& param, CallSpec::ParameterConstraintType type) {
  const auto& constraint = param.GetConstraint();
  return constraint && constraint->GetType() == type ? constraint : nullptr;
}

std::string RangeText(const CallSpec::ParameterSpec& param) {
  auto range = ConstraintOf(param, CallSpec::CONSTRAINT_INT_RANGE);
  if (!range || (range->GetIntMin() == std::numeric_limits<int64_t>::min() &&
                 range->GetIntMax() == std::numeric_limits<int64_t>::max())) {
    return std::string();
  }
  return "from " + std::to_string(range->GetIntMin()) + " to " + std::to_string(range->GetIntMax());
}

std::string EnumText(const CallSpec::ParameterSpec& param) {
  auto choices = ConstraintOf(param, CallSpec::CONSTRAINT_STRING_ENUM);
  std::string text;
  if (!choices) return text;
  for (const auto& choice : choices->GetStringEnums()) {
    text += (text.empty() ? "" : ", ") + choice.value;
  }
  return text;
}

std::string DescriptionText(const CallSpec::ParameterSpec& param) {
  std::string description = param.GetDescription();
  if (!ConstraintOf(param, CallSpec::CONSTRAINT_STRING_ENUM)) return description;
  const std::string values = EnumText(param);
  const size_t at = description.find("%ENUM%");
  if (at == std::string::npos) {
    return description + (description.empty() ? "" : " ") + "Allowed values: " + values + ".";
  }
  for (size_t pos = at; pos != std::string::npos; pos = description.find("%ENUM%", pos)) {
    description.replace(pos, 6, values);
    pos += values.size();
  }
  return description;
}

}  // namespace Frame
}  // namespace Cordra
