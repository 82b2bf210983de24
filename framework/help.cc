#include "framework/help.h"

#include "framework/output_fields.h"
#include "framework/param_text.h"

#include <algorithm>
#include <vector>

namespace Cordra {
namespace Frame {

using CallSpec::ParameterSpec;

namespace {

const char kIndent[] = "      ";  // descriptions under an option or example

std::string TrimRight(const std::string& line) {
  const size_t end = line.find_last_not_of(" \t");
  return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

// Removes trailing blanks from every line (descriptions sometimes end in one).
std::string Tidy(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    out += TrimRight(text.substr(start, end - start)) + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

std::string Section(const std::string& title,
                    const std::vector<std::pair<std::string, std::string>>& entries) {
  if (entries.empty()) return std::string();
  size_t width = 0;
  for (const auto& entry : entries) width = std::max(width, entry.first.size());
  std::string out = title + ":\n";
  for (const auto& entry : entries) {
    out +=
        "  " + entry.first + std::string(width - entry.first.size() + 2, ' ') + entry.second + "\n";
  }
  return out;
}

std::string TypeText(const ParameterSpec& param) {
  switch (param.GetType()) {
    case CallSpec::PARAM_STRING:
      return " <string>";
    case CallSpec::PARAM_STRING_LIST:
      return " <string> (repeatable)";
    case CallSpec::PARAM_BOOL:
      return " <true|false>";
    case CallSpec::PARAM_FLAG:
      return "";
    case CallSpec::PARAM_INT: {
      const std::string range = RangeText(param);
      return range.empty() ? " <integer>" : " <integer " + range + ">";
    }
  }
  return "";
}

// One line per value with its description, when any value has one.
std::string ValueLines(const CallSpec::ParameterConstraint& choices) {
  size_t width = 0;
  bool described = false;
  for (const auto& choice : choices.GetStringEnums()) {
    width = std::max(width, choice.value.size());
    described |= !choice.description.empty();
  }
  std::string out;
  if (!described) return out;
  for (const auto& choice : choices.GetStringEnums()) {
    out += std::string(kIndent) + "  " + choice.value +
           std::string(width - choice.value.size() + 2, ' ') + choice.description + "\n";
  }
  return out;
}

std::string ParameterHelp(const ParameterSpec& param) {
  std::string out = "  ";
  if (!param.GetShortName().empty()) out += "-" + param.GetShortName() + ", ";
  out += "--" + param.GetName() + TypeText(param);
  if (param.IsRequired()) out += " (required)";
  out += "\n";
  auto choices = ConstraintOf(param, CallSpec::CONSTRAINT_STRING_ENUM);
  const std::string description = DescriptionText(param);
  if (!description.empty()) out += kIndent + description + "\n";
  if (choices) out += ValueLines(*choices);
  return out;
}

std::string FieldEntry(const OutputField& field) {
  return field.kind + (field.unit.empty() ? "" : ", in " + field.unit);
}

// The fields shown by default in their order, then those only --fields shows.
std::string FieldsHelp(AutoCli::Command& command) {
  OutputFields fields;
  if (!DescribeOutputFields(command, &fields)) return std::string();
  std::vector<std::pair<std::string, std::string>> shown, others;
  for (const auto& name : fields.shown) {
    for (const auto& field : fields.fields) {
      if (field.name == name) shown.emplace_back(field.name, FieldEntry(field));
    }
  }
  for (const auto& field : fields.fields) {
    if (std::find(fields.shown.begin(), fields.shown.end(), field.name) == fields.shown.end()) {
      others.emplace_back(field.name, FieldEntry(field));
    }
  }
  const std::string title = "Output fields (" + std::string(fields.list ? "one row per " : "one ") +
                            fields.type_name + ", shown in this order)";
  std::string out = "\n" + Section(title, shown);
  if (!others.empty())
    out += "\n" + Section("Other fields (shown when --fields names them)", others);
  return out;
}

std::string UsageLine(const std::string& program, const std::string& path,
                      const std::string& rest) {
  std::string line = "Usage: " + program + " [global options]";
  if (!path.empty()) line += " " + path;
  return line + rest + "\n";
}

}  // namespace

std::string ChildrenHelp(const AutoCli::NamespaceNode& node) {
  std::vector<std::pair<std::string, std::string>> namespaces, commands;
  for (const auto& child : node.GetChildren()) {
    auto& list = child.second->IsCommand() ? commands : namespaces;
    list.emplace_back(child.first, child.second->GetDescription());
  }
  std::string out = Section("Available namespaces", namespaces);
  if (!namespaces.empty() && !commands.empty()) out += "\n";
  out += Section("Available commands", commands);
  if (out.empty()) out = "This namespace has no commands.\n";
  return Tidy(out);
}

std::string NamespaceHelp(const AutoCli::NamespaceNode& node, const std::string& program,
                          const std::string& path) {
  bool has_namespaces = false;
  for (const auto& child : node.GetChildren()) has_namespaces |= !child.second->IsCommand();
  std::string out =
      UsageLine(program, path,
                has_namespaces ? " <namespace> ... <command> [options]" : " <command> [options]");
  if (!node.GetDescription().empty()) out += "\n" + node.GetDescription() + "\n";
  out += "\n" + ChildrenHelp(node);
  if (!node.GetChildren().empty()) {
    out += "\nRun '" + program + " " + (path.empty() ? "" : path + " ") +
           "<name> --help' for the help of one of them.\n";
  }
  return Tidy(out);
}

std::string CommandHelp(AutoCli::Command& command, const std::string& program,
                        const std::string& path, const std::string& default_format) {
  auto spec = command.GetInputSpec();
  const bool has_params = spec && !spec->GetParameters().empty();
  std::string out = UsageLine(program, path, has_params ? " [options]" : "");
  if (!command.GetDescription().empty()) out += "\n" + command.GetDescription() + "\n";
  out += "\nOptions:";
  if (!has_params) {
    out += " none\n";
  } else {
    out += "\n";
    for (const auto& param : spec->GetParameters()) {
      if (param) out += ParameterHelp(*param);
    }
  }
  out += "\nDefault format: " + default_format + "\n" + FieldsHelp(command);
  if (!command.GetExamples().empty()) {
    out += "\nExamples:\n";
    for (const auto& example : command.GetExamples()) {
      out += "  " + program + " " + path + " " + example.arguments + "\n";
      if (!example.description.empty()) out += kIndent + example.description + "\n";
    }
  }
  return Tidy(out);
}

}  // namespace Frame
}  // namespace Cordra
