#include "hostctl/tool/tool_options.h"

namespace TarvexHost {

Options ParseOptions(const std::vector<std::string>& args, std::initializer_list<OptionSpec> specs,
                     const std::string& where) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg.compare(0, 2, "--") != 0 || arg == "--") {
      options.operands.push_back(arg);
      continue;
    }
    size_t equals = arg.find('=');
    std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& candidate : specs) {
      if (name == candidate.name) spec = &candidate;
    }
    if (!spec) throw UsageError(where + ": unknown option '--" + name + "'");
    if (options.Has(name)) throw UsageError(where + ": option '--" + name + "' given twice");
    if (!spec->takes_value) {
      if (equals != std::string::npos) {
        throw UsageError(where + ": option '--" + name + "' takes no value");
      }
      options.flags.insert(name);
    } else if (equals != std::string::npos) {
      options.values[name] = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      options.values[name] = args[++i];
    } else {
      throw UsageError(where + ": option '--" + name + "' needs a value");
    }
  }
  return options;
}

int64_t ParseCount(const std::string& text, const std::string& what, const std::string& where) {
  bool digits = !text.empty() && text.size() <= 18 &&
                text.find_first_not_of("0123456789") == std::string::npos;
  if (!digits) {
    throw UsageError(where + ": invalid value '" + text + "' for " + what +
                     ": expected a whole number from 0");
  }
  return std::stoll(text);
}

}  // namespace TarvexHost
