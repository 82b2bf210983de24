#include "framework/shell/default_format.h"

#include "framework/render.h"

namespace TarvexShell {

std::string DefaultFormat(const Cordra::AutoCli::CommandSpec& command) {
  const std::string& hint = command.GetDefaultOutputFormatter();
  for (const auto& name : Cordra::Frame::FormatNames()) {
    if (name == hint) return hint;
  }
  return "table";
}

}  // namespace TarvexShell
