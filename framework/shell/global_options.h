// tarvexcli's global options: long options (and -h) that may stand anywhere
// on the command line, with the same meaning wherever they stand.
#ifndef FRAMEWORK_SHELL_GLOBAL_OPTIONS_H_
#define FRAMEWORK_SHELL_GLOBAL_OPTIONS_H_

#include <memory>
#include <string>
#include <vector>

#include "cordra/call_spec.h"

namespace TarvexShell {

struct GlobalOptions {
  std::string format;               // "" when not given: the command's own formatter
  std::vector<std::string> fields;  // from --fields, blanks around names trimmed
  bool no_header = false;
  std::string store;          // "" when not given
  std::string on_host;        // "" when not given
  bool dry_run = false;       // --dry-run or --dry-run=json
  bool dry_run_json = false;  // --dry-run=json
  bool help = false;
  bool version = false;
};

// The global options' specification (Cordra::Frame::GlobalOptionSpec()),
// made once.
const std::shared_ptr<Cordra::CallSpec::InputSpec>& GlobalSpec();

// Whether `arg` names a global option: "--format", "--format=json", "-h".
bool IsGlobalOption(const std::string& arg);

// Moves the global option at args[*pos] (with its value when it takes one
// and none follows '=') to the end of `taken` and advances *pos past it.
void TakeGlobalOption(const std::vector<std::string>& args, size_t* pos,
                      std::vector<std::string>* taken);

// Parses the global options gathered from a command line (each "--name
// value" or "--name=value", with the same rules and messages as a command's
// options). "--dry-run=json" is --dry-run with its list as JSON; another
// value of --dry-run is a usage error. A field named twice in --fields, in any case, is a usage
// error. Throws Cordra::Frame::UsageError.
GlobalOptions ParseGlobalOptions(const std::vector<std::string>& taken);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_GLOBAL_OPTIONS_H_
