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

}  // namespace Frame
}  // namespace Cordra
