#include "framework/shell/global_options.h"

#include <cctype>
#include <set>

#include "framework/global_option_spec.h"
#include "framework/output_model.h"
#include "framework/parser.h"
#include "framework/text_escape.h"

namespace TarvexShell {

const std::shared_ptr<Cordra::CallSpec::InputSpec>& GlobalSpec() {
  static const auto spec = Cordra::Frame::GlobalOptionSpec();
  return spec;
}

namespace {

std::shared_ptr<Cordra::CallSpec::ParameterSpec> Find(const std::string& arg) {
  if (arg == "-h") return GlobalSpec()->FindParameter("help");
  if (arg.size() <= 2 || arg.compare(0, 2, "--") != 0) return nullptr;
  return GlobalSpec()->FindParameter(arg.substr(2, arg.find('=') - 2));
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
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
  GlobalOptions options;
  // --dry-run is a flag with one optional form, which the parser's flags
  // do not take: "--dry-run=json" is told here.
  std::vector<std::string> args = taken;
  for (std::string& arg : args) {
    if (arg.compare(0, 10, "--dry-run=") != 0) continue;
    if (arg != "--dry-run=json") {
      throw Cordra::Frame::UsageError("Invalid value '" +
                                      Cordra::Frame::DisplayText(arg.substr(10)) +
                                      "' for --dry-run: expected json, or no value");
    }
    options.dry_run_json = true;
    arg = "--dry-run";
  }
  const auto input = Cordra::Frame::ParseArguments(*GlobalSpec(), args);
  options.format = input->GetParameter("format");
  if (input->HasParameter("fields")) {
    options.fields = Cordra::Frame::SplitFieldList(input->GetParameter("fields"));
    // A field shown twice would be a JSON key twice; names match ignoring case.
    std::set<std::string> seen;
    for (const auto& name : options.fields) {
      if (!seen.insert(Lower(name)).second) {
        throw Cordra::Frame::UsageError("Field '" + Cordra::Frame::DisplayText(name) +
                                        "' given twice in --fields");
      }
    }
  }
  options.no_header = input->IsFlagSet("no-header");
  options.store = input->GetParameter("store");
  options.on_host = input->GetParameter("on-host");
  if (input->HasParameter("on-host") && options.on_host.empty()) {
    throw Cordra::Frame::UsageError("Option --on-host needs a host name");
  }
  options.dry_run = input->IsFlagSet("dry-run");
  options.help = input->IsFlagSet("help");
  options.version = input->IsFlagSet("version");
  return options;
}

}  // namespace TarvexShell
