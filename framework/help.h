// Help texts for the nodes of the command tree. `program` is the shell's
// name and `path` the node's path as typed ("storage nfs add"); each text
// ends with a newline and has no trailing blanks.
#ifndef FRAMEWORK_HELP_H_
#define FRAMEWORK_HELP_H_

#include <string>

#include "cordra/command.h"
#include "cordra/namespace.h"

namespace Cordra {
namespace Frame {

// Usage line, description, then the children: namespaces and commands in
// separate sections, each in registration order with its description.
std::string NamespaceHelp(const AutoCli::NamespaceNode& node, const std::string& program,
                          const std::string& path);

// Only the children sections of NamespaceHelp (the shell's own help ends
// with the root's).
std::string ChildrenHelp(const AutoCli::NamespaceNode& node);

// Usage line, description, every parameter (short and long name, type,
// "(required)", the description with "%ENUM%" replaced by the allowed
// values, and each value's description when it has one), the default
// format, the output fields (the shown ones in their order, then the others,
// each with its kind and unit), then the examples.
std::string CommandHelp(AutoCli::Command& command, const std::string& program,
                        const std::string& path, const std::string& default_format);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_HELP_H_
