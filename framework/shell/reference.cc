#include "framework/shell/reference.h"

#include <algorithm>

#include "framework/output_fields.h"
#include "framework/param_text.h"
#include "framework/shell/default_format.h"
#include "framework/shell/markdown.h"

namespace TarvexShell {

using Cordra::CallSpec::ParameterSpec;
using Cordra::MetaObj::MetaList;
using Cordra::MetaObj::MetaObj;

namespace {

const char kProgram[] = "tarvexcli";

const char kPreamble[] =
    R"(Every namespace and command of `tarvexcli`, as the storage plug-in registers them on a host
whose features are all on. Global options (`--format`, `--fields`, `--no-header`, `--store`)
may stand anywhere on the line; see [usage.md](usage.md). `tarvexcli <path> --help` shows the
same for one node.

)";

std::string Link(const std::string& name, const std::string& path) {
  return "[" + Code(name) + "](#" + Anchor(path) + ")";
}

// ": text", or "" for an empty description.
std::string Described(const std::string& description) {
  return description.empty() ? "" : ": " + Prose(description);
}

std::string TypeText(const ParameterSpec& param) {
  switch (param.GetType()) {
    case Cordra::CallSpec::PARAM_STRING:
      return "string";
    case Cordra::CallSpec::PARAM_STRING_LIST:
      return "string, repeatable";
    case Cordra::CallSpec::PARAM_BOOL:
      return "boolean: true or false";
    case Cordra::CallSpec::PARAM_FLAG:
      return "flag";
    case Cordra::CallSpec::PARAM_INT: {
      const std::string range = Cordra::Frame::RangeText(param);
      return range.empty() ? "integer" : "integer " + range;
    }
  }
  return "";
}

std::string OptionText(const ParameterSpec& param) {
  std::string out = "- " + Code("--" + param.GetName());
  if (!param.GetShortName().empty()) out += ", " + Code("-" + param.GetShortName());
  out += " (" + TypeText(param) + (param.IsRequired() ? ", required" : ", optional") + ")" +
         Described(Cordra::Frame::DescriptionText(param)) + "\n";
  auto choices = Cordra::Frame::ConstraintOf(param, Cordra::CallSpec::CONSTRAINT_STRING_ENUM);
  if (choices) {
    for (const auto& choice : choices->GetStringEnums()) {
      out += "  - " + Code(choice.value) + Described(choice.description) + "\n";
    }
  }
  return out;
}

// The fields in the structure's order, each with its kind and unit, then
// the columns the command shows by default when they are not all of them.
std::string FieldsText(const Cordra::Frame::OutputFields& fields) {
  std::string out;
  std::vector<std::string> names;
  int number = 0;
  for (const auto& field : fields.fields) {
    names.push_back(field.name);
    out += std::to_string(++number) + ". " + Code(field.name) + " (" + Prose(field.kind) +
           (field.unit.empty() ? "" : ", " + Code(field.unit)) + ")\n";
  }
  if (fields.shown != names) {
    std::string list;
    for (const auto& name : fields.shown) list += (list.empty() ? "" : ", ") + Code(name);
    out += "\nShown by default, in this order: " + list + ".\n";
  }
  if (!fields.heading.empty()) {
    out += "\nIn the `simple` format each record is headed by " + Code(fields.heading) +
           ", each `%Field%` in it replaced by the record's value.\n";
  }
  return out;
}

std::string OutputText(Cordra::AutoCli::Command& command) {
  Cordra::Frame::OutputFields fields;
  if (Cordra::Frame::DescribeOutputFields(command, &fields)) {
    return (fields.list
                ? "Output: a list of " + Code(fields.type_name) +
                      " structures, one per row, with the fields:\n\n"
                : "Output: one " + Code(fields.type_name) + " structure, with the fields:\n\n") +
           FieldsText(fields);
  }
  auto spec = command.GetOutputSpec();
  const std::shared_ptr<MetaObj> result = spec ? spec->GetRootObject() : nullptr;
  if (!result) return "Output: none.\n";
  switch (result->GetType()) {
    case Cordra::MetaObj::META_BOOL:
      return "Output: `true` on success.\n";
    case Cordra::MetaObj::META_INT:
      return "Output: an integer.\n";
    case Cordra::MetaObj::META_LIST: {
      const auto& proto = static_cast<const MetaList&>(*result).GetPrototype();
      return "Output: a list of values (" +
             (proto ? Prose(Cordra::Frame::ValueKindText(*proto)) : "unset") + ").\n";
    }
    case Cordra::MetaObj::META_STRING:
      return "Output: a string.\n";
    case Cordra::MetaObj::META_STRUCT:
      break;  // described above
  }
  return "";
}

std::string CommandText(const TreeEntry& entry) {
  Cordra::AutoCli::Command& command = *entry.command;
  auto spec = command.GetInputSpec();
  const bool has_options = spec && !spec->GetParameters().empty();
  std::string out = "### " + entry.path + "\n\n";
  if (!command.GetDescription().empty()) out += Prose(command.GetDescription()) + "\n\n";
  out += "Usage: " +
         Code(std::string(kProgram) + " [global options] " + entry.path +
              (has_options ? " [options]" : "")) +
         "\n\nDefault format: " + Code(DefaultFormat(command)) + ".\n\n";
  if (has_options) {
    out += "Options:\n\n";
    for (const auto& param : spec->GetParameters()) {
      if (param) out += OptionText(*param);
    }
  } else {
    out += "Options: none.\n";
  }
  out += "\n" + OutputText(command);
  if (!command.GetExamples().empty()) {
    out += "\nExamples:\n\n";
    for (const auto& example : command.GetExamples()) {
      std::string line = std::string(kProgram) + " " + entry.path;
      if (!example.arguments.empty()) line += " " + example.arguments;
      out += "- " + Code(line) + Described(example.description) + "\n";
    }
  }
  return out + "\n";
}

std::string NamespaceText(const TreeEntry& entry) {
  std::string out = "## " + entry.path + "\n\n";
  if (!entry.node->GetDescription().empty()) out += Prose(entry.node->GetDescription()) + "\n\n";
  for (const bool commands : {false, true}) {
    std::string list;
    for (const auto& child : entry.node->GetChildren()) {
      if (child.second->IsCommand() != commands) continue;
      list += "- " + Link(child.first, entry.path + " " + child.first) +
              Described(child.second->GetDescription()) + "\n";
    }
    if (!list.empty()) out += (commands ? "Commands:\n\n" : "Namespaces:\n\n") + list + "\n";
  }
  return out;
}

std::string Contents(const std::vector<TreeEntry>& tree) {
  std::string out = "## Contents\n\n";
  for (const auto& entry : tree) {
    if (entry.path.empty()) continue;
    const size_t depth = static_cast<size_t>(std::count(entry.path.begin(), entry.path.end(), ' '));
    out += std::string(2 * depth, ' ') + "- " + Link(entry.path, entry.path) + "\n";
  }
  return out + "\n";
}

}  // namespace

std::string MarkdownReference(const std::vector<TreeEntry>& tree) {
  std::string out =
      "# Command reference\n\n"
      "<!-- Generated from the command tree by `tarvexcli --generate-reference markdown`.\n"
      "     Do not edit: `cmake --build BUILD --target reference` refreshes it. -->\n\n";
  out += kPreamble + Contents(tree);
  for (const auto& entry : tree) {
    if (entry.path.empty()) continue;
    out += entry.command ? CommandText(entry) : NamespaceText(entry);
  }
  return TidyMarkdown(out);
}

}  // namespace TarvexShell
