// tarvex-host's own help and its manual page, tarvex-host(1), made from the
// same texts and the subcommand table.
#ifndef HOSTCTL_TOOL_TOOL_HELP_H_
#define HOSTCTL_TOOL_TOOL_HELP_H_

#include <string>

namespace TarvexHost {

// The text of `tarvex-host --help`.
std::string Usage();

// The manual page of version `version`: the help above without its list of
// commands, the files, each subcommand's own help, examples.
std::string ManualPage(const std::string& version);

}  // namespace TarvexHost

#endif  // HOSTCTL_TOOL_TOOL_HELP_H_
