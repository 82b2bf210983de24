#include "framework/global_option_spec.h"

#include "cordra/exception.h"
#include "framework/render.h"

namespace Cordra {
namespace Frame {

using CallSpec::InputSpec;
using CallSpec::ParameterConstraint;
using CallSpec::ParameterSpec;

std::shared_ptr<InputSpec> GlobalOptionSpec() {
  auto spec = InputSpec::New();
  auto format = ParameterSpec::New("format", CallSpec::PARAM_STRING);
  auto formats = ParameterConstraint::New(CallSpec::CONSTRAINT_STRING_ENUM);
  for (const auto& name : FormatNames()) formats->AddStringEnum(name);
  format->SetConstraint(formats);
  spec->AddParameter(format);
  spec->AddParameter(ParameterSpec::New("fields", CallSpec::PARAM_STRING));
  spec->AddParameter(ParameterSpec::New("no-header", CallSpec::PARAM_FLAG));
  spec->AddParameter(ParameterSpec::New("store", CallSpec::PARAM_STRING));
  spec->AddParameter(ParameterSpec::New("on-host", CallSpec::PARAM_STRING));
  // A flag; the shell also takes "--dry-run=json" (see global_options.h).
  spec->AddParameter(ParameterSpec::New("dry-run", CallSpec::PARAM_FLAG));
  auto help = ParameterSpec::New("help", CallSpec::PARAM_FLAG);
  help->SetShortName("h");
  spec->AddParameter(help);
  spec->AddParameter(ParameterSpec::New("version", CallSpec::PARAM_FLAG));
  return spec;
}

void CheckNoGlobalOptionNames(const InputSpec& spec, const std::string& path) {
  // Made once: every command the plug-in registers is checked against it.
  static const auto globals = GlobalOptionSpec();
  for (const auto& param : spec.GetParameters()) {
    if (!param) continue;
    for (const auto& global : globals->GetParameters()) {
      std::string taken;
      if (param->GetName() == global->GetName()) taken = "--" + param->GetName();
      if (!param->GetShortName().empty() && param->GetShortName() == global->GetShortName()) {
        taken = "-" + param->GetShortName();
      }
      if (!taken.empty()) {
        throw CordraToolException("Command '" + path + "' cannot take the option '" + taken +
                                  "': it is a global option of the shell");
      }
    }
  }
}

}  // namespace Frame
}  // namespace Cordra
