// The subcommands of tarvex-host. Each takes the arguments after its name,
// writes its result to standard output and returns the exit status; errors
// are thrown (UsageError, StoreError, FixtureError, HostCtlException) and
// mapped to a status by main().
#ifndef HOSTCTL_TOOL_TOOL_COMMANDS_H_
#define HOSTCTL_TOOL_TOOL_COMMANDS_H_

#include <stdexcept>
#include <string>
#include <vector>

namespace TarvexHost {

using Args = std::vector<std::string>;

// A failure that is neither a usage error nor an unusable store (exit 1).
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Subcommand {
  const char* name;
  const char* summary;  // one line for the tool's help
  const char* help;     // the subcommand's own help
  int (*run)(const Args& args);
};

// Every subcommand, in the order the help lists them.
const std::vector<Subcommand>& Subcommands();

// Prints rows as columns two blanks apart; the last column is not padded.
void PrintTable(const std::vector<std::vector<std::string>>& rows);

// Throws UsageError when `options` has operands; `where` names the command.
struct Options;
void RequireNoOperands(const Options& options, const std::string& where);

// `tarvex-host init` (tool_init.cc) and `tarvex-host host` (tool_hosts.cc).
extern const char kInitHelp[];
int RunInit(const Args& args);
extern const char kDeviceHelp[];
int RunDevice(const Args& args);
extern const char kHostHelp[];
int RunHost(const Args& args);

}  // namespace TarvexHost

#endif  // HOSTCTL_TOOL_TOOL_COMMANDS_H_
