// How a parameter's constraint reads in messages and help, written once for
// the parser and the help texts.
#ifndef FRAMEWORK_PARAM_TEXT_H_
#define FRAMEWORK_PARAM_TEXT_H_

#include <memory>
#include <string>

#include "cordra/call_spec.h"

namespace Cordra {
namespace Frame {

// The parameter's constraint when it is of `type`, else null.
std::shared_ptr<CallSpec::ParameterConstraint> ConstraintOf(const CallSpec::ParameterSpec& param,
                                                            CallSpec::ParameterConstraintType type);

// "from MIN to MAX" for an integer range narrower than 64 bits, else "".
std::string RangeText(const CallSpec::ParameterSpec& param);

// The allowed values of a string enumeration: "none, low, medium, high"
// ("" without one).
std::string EnumText(const CallSpec::ParameterSpec& param);

// The description as help shows it: for a string enumeration, each "%ENUM%"
// replaced by EnumText(), or without one, "Allowed values: ...." added as a
// sentence of its own.
std::string DescriptionText(const CallSpec::ParameterSpec& param);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_PARAM_TEXT_H_
