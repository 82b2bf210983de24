// Command-line options of tarvex-host: long options only, "--name value" or
// "--name=value", flags, and operands.
#ifndef HOSTCTL_TOOL_TOOL_OPTIONS_H_
#define HOSTCTL_TOOL_TOOL_OPTIONS_H_

#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace TarvexHost {

// A mistake on the command line; tarvex-host prints it and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  const char* name;  // without the leading "--"
  bool takes_value;
};

struct Options {
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  std::vector<std::string> operands;

  bool Has(const std::string& name) const { return values.count(name) || flags.count(name); }
  std::string Get(const std::string& name, const std::string& fallback = "") const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
  }
};

// Parses `args` against `specs`; `where` names the command in messages
// ("tarvex-host fault add"). Throws UsageError for an unknown option, a
// missing value, a value given to a flag, or an option given twice.
Options ParseOptions(const std::vector<std::string>& args, std::initializer_list<OptionSpec> specs,
                     const std::string& where);

// A non-negative decimal integer; `what` names it in the error ("--nth",
// "the feature number"). Throws UsageError.
int64_t ParseCount(const std::string& text, const std::string& what, const std::string& where);

}  // namespace TarvexHost

#endif  // HOSTCTL_TOOL_TOOL_OPTIONS_H_
