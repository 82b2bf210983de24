// Turns a command's arguments into its Input, checked against its InputSpec.
#ifndef FRAMEWORK_PARSER_H_
#define FRAMEWORK_PARSER_H_

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cordra/call_spec.h"

namespace Cordra {
namespace Frame {

// A usage error: one line naming the parameter and what was expected
// (tarvexcli exits 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses `args` (what follows the command path) against `spec`:
// "--name value", "--name=value", "-n value", flags, booleans, 64-bit
// integers with their range, enumerations, repeated string lists, required
// parameters. Throws UsageError; an unknown option's message suggests the
// nearest option of `spec` or of `also` (options the line may hold
// elsewhere, such as the shell's global ones) and those whose name contains
// the word typed.
std::shared_ptr<CallSpec::Input> ParseArguments(const CallSpec::InputSpec& spec,
                                                const std::vector<std::string>& args,
                                                const CallSpec::InputSpec* also = nullptr);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_PARSER_H_
