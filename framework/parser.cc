#include "framework/parser.h"

#include <cstdint>
#include <set>

#include "framework/param_text.h"
#include "framework/suggest.h"
#include "framework/text_escape.h"
#include "framework/value_text.h"

namespace Cordra {
namespace Frame {

using CallSpec::InputSpec;
using CallSpec::ParameterConstraint;
using CallSpec::ParameterSpec;

namespace {

std::string Quoted(const std::string& value) { return "'" + DisplayText(value) + "'"; }

// What a value of `param` must look like, for the end of a usage message.
std::string Expected(const ParameterSpec& param) {
  switch (param.GetType()) {
    case CallSpec::PARAM_INT: {
      const std::string range = RangeText(param);
      return range.empty() ? "a 64-bit integer" : "an integer " + range;
    }
    case CallSpec::PARAM_BOOL:
      return "true or false";
    case CallSpec::PARAM_FLAG:
      return "no value";
    case CallSpec::PARAM_STRING:
    case CallSpec::PARAM_STRING_LIST:
      break;
  }
  const std::string choices = EnumText(param);
  return choices.empty() ? "a string" : "one of: " + choices;
}

std::shared_ptr<ParameterSpec> FindShort(const InputSpec& spec, const std::string& letter) {
  for (const auto& param : spec.GetParameters()) {
    if (param && !param->GetShortName().empty() && param->GetShortName() == letter) return param;
  }
  return nullptr;
}

// "Unknown option", with the names ParseArguments suggests.
std::string UnknownOptionMessage(const std::string& typed, const InputSpec& spec,
                                 const InputSpec* also) {
  std::string message = "Unknown option " + Quoted(typed);
  const std::string bare = typed.substr(typed.find_first_not_of('-') == std::string::npos
                                            ? typed.size()
                                            : typed.find_first_not_of('-'));
  std::vector<std::string> names;
  for (const InputSpec* known : {&spec, also}) {
    if (!known) continue;
    for (const auto& param : known->GetParameters()) {
      if (param) names.push_back(param->GetName());
    }
  }
  const auto suggested = SuggestedNames(bare, names);
  if (!suggested.empty()) return message + DidYouMean(suggested, "--");
  if (bare.size() == 1 && typed != "-" + bare && FindShort(spec, bare)) {
    return message + ": did you mean '-" + bare + "'?";
  }
  return message;
}

// Whether `arg` would be read as an option rather than as a value: a long
// option, or a short option this command knows. "-5" stays a value.
bool LooksLikeOption(const std::string& arg, const InputSpec& spec) {
  if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) return true;
  return arg.size() == 2 && arg[0] == '-' && FindShort(spec, arg.substr(1)) != nullptr;
}

// The value as the Input records it, or a UsageError.
std::string CheckValue(const ParameterSpec& param, const std::string& value) {
  const std::string invalid = "Invalid value " + Quoted(value) + " for --" + param.GetName() +
                              ": expected " + Expected(param);
  switch (param.GetType()) {
    case CallSpec::PARAM_INT: {
      int64_t number = 0;
      if (!ParseInt64Text(value, &number)) throw UsageError(invalid);
      auto range = ConstraintOf(param, CallSpec::CONSTRAINT_INT_RANGE);
      if (range && (number < range->GetIntMin() || number > range->GetIntMax())) {
        throw UsageError(invalid);
      }
      return std::to_string(number);
    }
    case CallSpec::PARAM_BOOL: {
      bool flag = false;
      if (!ParseBoolText(value, &flag)) throw UsageError(invalid);
      return flag ? "true" : "false";
    }
    case CallSpec::PARAM_FLAG:
      throw UsageError("Invalid value " + Quoted(value) + " for --" + param.GetName() +
                       ": it is a flag and takes no value");
    case CallSpec::PARAM_STRING:
    case CallSpec::PARAM_STRING_LIST:
      break;
  }
  auto choices = ConstraintOf(param, CallSpec::CONSTRAINT_STRING_ENUM);
  if (choices) {
    bool allowed = false;
    for (const auto& choice : choices->GetStringEnums()) allowed |= choice.value == value;
    if (!allowed) throw UsageError(invalid);
  }
  return value;
}

}  // namespace

std::shared_ptr<CallSpec::Input> ParseArguments(const InputSpec& spec,
                                                const std::vector<std::string>& args,
                                                const InputSpec* also) {
  auto input = std::make_shared<CallSpec::Input>();
  std::set<std::string> seen;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::shared_ptr<ParameterSpec> param;
    std::string value;
    bool inline_value = false;
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      const size_t eq = arg.find('=');
      param = spec.FindParameter(arg.substr(2, eq == std::string::npos ? eq : eq - 2));
      if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
        inline_value = true;
      }
      if (!param) throw UsageError(UnknownOptionMessage(arg.substr(0, eq), spec, also));
    } else if (arg.size() >= 2 && arg[0] == '-') {
      if (arg.size() == 2) param = FindShort(spec, arg.substr(1));
      if (!param) throw UsageError(UnknownOptionMessage(arg, spec, also));
    } else {
      throw UsageError("Unexpected argument " + Quoted(arg) + ": this command takes options only");
    }

    const std::string& name = param->GetName();
    if (param->GetType() != CallSpec::PARAM_STRING_LIST && !seen.insert(name).second) {
      throw UsageError("Option --" + name + " may be given only once");
    }
    if (param->GetType() == CallSpec::PARAM_FLAG) {
      if (inline_value) CheckValue(*param, value);  // throws: a flag takes no value
      input->AddValue(name, "true");
      continue;
    }
    if (!inline_value) {
      if (i + 1 >= args.size() || LooksLikeOption(args[i + 1], spec)) {
        throw UsageError("Missing value for --" + name + ": expected " + Expected(*param));
      }
      value = args[++i];
    }
    input->AddValue(name, CheckValue(*param, value));
  }
  for (const auto& param : spec.GetParameters()) {
    if (param && param->IsRequired() && !input->HasParameter(param->GetName())) {
      throw UsageError("Missing required option --" + param->GetName());
    }
  }
  return input;
}

}  // namespace Frame
}  // namespace Cordra
