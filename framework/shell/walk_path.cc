#include "framework/shell/walk_path.h"

#include "framework/shell/global_options.h"
#include "framework/suggest.h"
#include "framework/text_escape.h"

namespace TarvexShell {

using Cordra::AutoCli::NamespaceNode;

namespace {

std::string UnknownChild(const NamespaceNode& node, const std::string& path,
                         const std::string& name) {
  std::vector<std::string> names;
  for (const auto& child : node.GetChildren()) names.push_back(child.first);
  std::string message = "Unknown namespace or command '" + Cordra::Frame::DisplayText(name) + "'";
  if (!path.empty()) message += " in '" + path + "'";
  const std::string nearest = Cordra::Frame::NearestName(name, names);
  if (!nearest.empty()) message += ": did you mean '" + nearest + "'?";
  return message;
}

}  // namespace

Walk WalkPath(const std::shared_ptr<NamespaceNode>& root, const std::vector<std::string>& args) {
  Walk walk;
  walk.node = root;
  size_t pos = 0;
  for (; pos < args.size() && !walk.node->IsCommand(); ++pos) {
    const std::string& arg = args[pos];
    if (!arg.empty() && arg[0] == '-') {
      // Not a global option: a mistyped one, or a command's before its command.
      std::vector<std::string> globals;
      for (const auto& param : GlobalSpec()->GetParameters()) globals.push_back(param->GetName());
      const std::string name = arg.substr(0, arg.find('='));
      const size_t start = name.find_first_not_of('-');
      const auto suggested = Cordra::Frame::SuggestedNames(
          start == std::string::npos ? "" : name.substr(start), globals);
      if (!suggested.empty() || walk.path.empty()) {
        walk.error = "Unknown option '" + Cordra::Frame::DisplayText(name) + "'" +
                     Cordra::Frame::DidYouMean(suggested, "--");
        return walk;
      }
      walk.error = "Unexpected option '" + Cordra::Frame::DisplayText(arg) + "'";
      if (!walk.path.empty()) walk.error += " after '" + walk.path + "'";
      walk.error += ": expected a namespace or command";
      return walk;
    }
    auto child = walk.node->GetNamespaceNode(arg);
    if (!child) {
      walk.error = UnknownChild(*walk.node, walk.path, arg);
      return walk;
    }
    walk.node = child;
    walk.path += (walk.path.empty() ? "" : " ") + arg;
  }
  walk.end = pos;
  return walk;
}

}  // namespace TarvexShell
