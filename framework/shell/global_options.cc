#include "framework/shell/global_options.h"

#include "framework/global_option_spec.h"
#include "framework/output_model.h"
#include "framework/parser.h"

namespace TarvexShell {

namespace {

const std::shared_ptr<Cordra::CallSpec::InputSpec>& Spec() {
  static const auto spec = Cordra::Frame::GlobalOptionSpec();
  return spec;
}

std::shared_ptr<Cordra::CallSpec::ParameterSpec> Find(const std::string& arg) {
  if (arg == "-h") return Spec()->FindParameter("help");
  if (arg.size() <= 2 || arg.compare(0, 2, "--") != 0) return nullptr;
  return Spec()->FindParameter(arg.substr(2, arg.find('=') - 2));
}

}  // namespace

bool IsGlobalOption(const std::string& arg) { return Find(arg) != nullptr; }

void TakeGlobalOption(const std::vector<std::string>& args, size_t* pos,
                      std::vector<std::string>* taken) {
  const std::string& arg = args[(*pos)++];
  taken->push_back(arg);
  const auto param = Find(arg);
  // A value that looks like an option is left where it is: the parser then
  // reports the missing value.
  if (param && param->GetType() != Cordra::CallSpec::PARAM_FLAG &&
      arg.find('=') == std::string::npos && *pos < args.size() &&
      args[*pos].compare(0, 2, "--") != 0) {
    taken->push_back(args[(*pos)++]);
  }
}

GlobalOptions ParseGlobalOptions(const std::vector<std::string>& taken) {
  const auto input = Cordra::Frame::ParseArguments(*Spec(), taken);
  GlobalOptions options;
  options.format = input->GetParameter("format");
  if (input->HasParameter("fields")) {
    options.fields = Cordra::Frame::SplitFieldList(input->GetParameter("fields"));
  }
  options.no_header = input->IsFlagSet("no-header");
  options.store = input->GetParameter("store");
  options.help = input->IsFlagSet("help");
  options.version = input->IsFlagSet("version");
  return options;
}

}  // namespace TarvexShell
