#include "framework/shell/global_options.h"

#include <algorithm>

#include "cordra/call_spec.h"
#include "framework/output_model.h"
#include "framework/parser.h"
#include "framework/render.h"

namespace TarvexShell {

using Cordra::CallSpec::InputSpec;
using Cordra::CallSpec::ParameterConstraint;
using Cordra::CallSpec::ParameterSpec;

namespace {

bool TakesValue(const std::string& arg) {
  return arg == "--format" || arg == "--fields" || arg == "--store";
}

}  // namespace

std::shared_ptr<InputSpec> GlobalOptionSpec() {
  auto spec = InputSpec::New();
  auto format = ParameterSpec::New("format", Cordra::CallSpec::PARAM_STRING);
  auto formats = ParameterConstraint::New(Cordra::CallSpec::CONSTRAINT_STRING_ENUM);
  for (const auto& name : Cordra::Frame::FormatNames()) formats->AddStringEnum(name);
  format->SetConstraint(formats);
  spec->AddParameter(format);
  spec->AddParameter(ParameterSpec::New("fields", Cordra::CallSpec::PARAM_STRING));
  spec->AddParameter(ParameterSpec::New("no-header", Cordra::CallSpec::PARAM_FLAG));
  spec->AddParameter(ParameterSpec::New("store", Cordra::CallSpec::PARAM_STRING));
  spec->AddParameter(ParameterSpec::New("help", Cordra::CallSpec::PARAM_FLAG));
  spec->AddParameter(ParameterSpec::New("version", Cordra::CallSpec::PARAM_FLAG));
  return spec;
}

bool IsGlobalOption(const std::string& arg) {
  const std::string name = arg.substr(0, arg.find('='));
  return name.size() > 2 && name.compare(0, 2, "--") == 0 &&
         GlobalOptionSpec()->FindParameter(name.substr(2)) != nullptr;
}

size_t ParseGlobalOptions(const std::vector<std::string>& args, GlobalOptions* options) {
  size_t end = 0;
  while (end < args.size() && args[end].size() > 1 && args[end][0] == '-') {
    end += TakesValue(args[end]) ? 2 : 1;
  }
  end = std::min(end, args.size());
  const auto input = Cordra::Frame::ParseArguments(
      *GlobalOptionSpec(), std::vector<std::string>(args.begin(), args.begin() + end));
  options->format = input->GetParameter("format");
  if (input->HasParameter("fields")) {
    options->fields = Cordra::Frame::SplitFieldList(input->GetParameter("fields"));
  }
  options->no_header = input->IsFlagSet("no-header");
  options->store = input->GetParameter("store");
  options->help = input->IsFlagSet("help");
  options->version = input->IsFlagSet("version");
  return end;
}

}  // namespace TarvexShell
