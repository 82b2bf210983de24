#include "framework/shell/reference.h"

#include <algorithm>

#include "framework/output_model.h"
#include "framework/param_text.h"
#include "framework/shell/default_format.h"
#include "framework/shell/markdown.h"

namespace TarvexShell {

using Cordra::CallSpec::ParameterSpec;
using Cordra::MetaObj::MetaList;
using Cordra::MetaObj::MetaObj;
using Cordra::MetaObj::MetaStruct;

namespace {

const char kProgram[] = "tarvexcli";

const char kPreamble[] =
    R"(Every namespace and command of `tarvexcli`, as the storage plug-in registers them on a host
whose features are all on. Global options (`--format`, `--fields`, `--no-header`, `--store`)
come before the command path; see [usage.md](usage.md). `tarvexcli <path> --help` shows the
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

std::string ValueKind(const MetaObj& value) {
  switch (value.GetType()) {
    case Cordra::MetaObj::META_BOOL:
      return "boolean";
    case Cordra::MetaObj::META_INT:
      return "integer";
    case Cordra::MetaObj::META_STRING:
      return "string";
    case Cordra::MetaObj::META_STRUCT:
      return "structure " + Code(static_cast<const MetaStruct&>(value).GetTypeName());
    case Cordra::MetaObj::META_LIST:
      return "list";
  }
  return "";
}

// The fields of `record` in order, each with its kind and unit, then the
// columns the command shows by default when they are not all of them.
std::string FieldsText(const Cordra::AutoCli::CommandSpec& command,
                       const std::shared_ptr<MetaObj>& result, const MetaStruct& record) {
  std::string out;
  std::vector<std::string> names;
  int number = 0;
  for (const auto& field : record.GetFields()) {
    names.push_back(field.first);
    const std::string unit =
        command.GetDefaultOutputParameter("units:" + record.GetTypeName() + "." + field.first);
    out += std::to_string(++number) + ". " + Code(field.first) + " (" +
           (field.second ? ValueKind(*field.second) : "unset") +
           (unit.empty() ? "" : ", " + Code(unit)) + ")\n";
  }
  const auto model =
      Cordra::Frame::BuildOutputModel(result, command.GetDefaultOutputParameters(), {});
  std::vector<std::string> shown;
  for (const auto& column : model.columns) shown.push_back(column.name);
  if (shown != names) {
    std::string list;
    for (const auto& name : shown) list += (list.empty() ? "" : ", ") + Code(name);
    out += "\nShown by default, in this order: " + list + ".\n";
  }
  const std::string heading = command.GetDefaultOutputParameter("header:" + record.GetTypeName());
  if (!heading.empty()) {
    out += "\nIn the `simple` format each record is headed by " + Code(heading) +
           ", each `%Field%` in it replaced by the record's value.\n";
  }
  return out;
}

std::string OutputText(Cordra::AutoCli::Command& command) {
  auto spec = command.GetOutputSpec();
  const std::shared_ptr<MetaObj> result = spec ? spec->GetRootObject() : nullptr;
  if (!result) return "Output: none.\n";
  switch (result->GetType()) {
    case Cordra::MetaObj::META_BOOL:
      return "Output: `true` on success.\n";
    case Cordra::MetaObj::META_INT:
      return "Output: an integer.\n";
    case Cordra::MetaObj::META_STRING:
      return "Output: a string.\n";
    case Cordra::MetaObj::META_STRUCT: {
      const auto& record = static_cast<const MetaStruct&>(*result);
      return "Output: one " + Code(record.GetTypeName()) + " structure, with the fields:\n\n" +
             FieldsText(command, result, record);
    }
    case Cordra::MetaObj::META_LIST: {
      const auto& proto = static_cast<const MetaList&>(*result).GetPrototype();
      if (!proto || proto->GetType() != Cordra::MetaObj::META_STRUCT) {
        return "Output: a list of values (" + (proto ? ValueKind(*proto) : "unset") + ").\n";
      }
      const auto& record = static_cast<const MetaStruct&>(*proto);
      return "Output: a list of " + Code(record.GetTypeName()) +
             " structures, one per row, with the fields:\n\n" + FieldsText(command, result, record);
    }
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
