#include "framework/shell/reference.h"

#include <algorithm>

#include "framework/output_fields.h"
#include "framework/param_text.h"
#include "framework/shell/default_format.h"
#include "framework/shell/doc_markup.h"
#include "framework/shell/markdown.h"

namespace TarvexShell {

using Cordra::CallSpec::ParameterSpec;
using Cordra::MetaObj::MetaList;
using Cordra::MetaObj::MetaObj;

namespace {

const char kProgram[] = "tarvexcli";

const char kPreamble[] =
    R"(Every namespace and command of `tarvexcli`, as the storage plug-in registers them on a host
whose features are all on. Global options (`--format`, `--fields`, `--no-header`, `--store`,
`--on-host`) may stand anywhere on the line; see [usage.md](usage.md). `tarvexcli <path> --help`
shows the same for one node.

)";

// ": text", or "" for an empty description.
std::string Described(const DocMarkup& m, const std::string& description) {
  return description.empty() ? "" : ": " + m.Prose(description);
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

DocMarkup::Entry OptionEntry(const DocMarkup& m, const ParameterSpec& param) {
  DocMarkup::Entry entry;
  entry.text = m.Code("--" + param.GetName());
  if (!param.GetShortName().empty()) entry.text += ", " + m.Code("-" + param.GetShortName());
  entry.text += " (" + TypeText(param) + (param.IsRequired() ? ", required" : ", optional") + ")" +
                Described(m, Cordra::Frame::DescriptionText(param));
  auto choices = Cordra::Frame::ConstraintOf(param, Cordra::CallSpec::CONSTRAINT_STRING_ENUM);
  if (choices) {
    for (const auto& choice : choices->GetStringEnums()) {
      entry.sub.push_back(m.Code(choice.value) + Described(m, choice.description));
    }
  }
  return entry;
}

// The fields in the structure's order, each with its kind and unit, then
// the columns the command shows by default when they are not all of them.
std::string FieldsText(const DocMarkup& m, const Cordra::Frame::OutputFields& fields) {
  std::vector<std::string> names, entries;
  for (const auto& field : fields.fields) {
    names.push_back(field.name);
    entries.push_back(m.Code(field.name) + " (" + m.Prose(field.kind) +
                      (field.unit.empty() ? "" : ", " + m.Code(field.unit)) + ")");
  }
  std::string out = m.Numbered(entries);
  if (fields.shown != names) {
    std::string list;
    for (const auto& name : fields.shown) list += (list.empty() ? "" : ", ") + m.Code(name);
    out += m.Paragraph("Shown by default, in this order: " + list + ".");
  }
  if (!fields.heading.empty()) {
    out += m.Paragraph("In the " + m.Code("simple") + " format each record is headed by " +
                       m.Code(fields.heading) + ", each " + m.Code("%Field%") +
                       " in it replaced by the record's value.");
  }
  return out;
}

std::string OutputText(const DocMarkup& m, Cordra::AutoCli::Command& command) {
  Cordra::Frame::OutputFields fields;
  if (Cordra::Frame::DescribeOutputFields(command, &fields)) {
    return m.Paragraph(fields.list ? "Output: a list of " + m.Code(fields.type_name) +
                                         " structures, one per row, with the fields:"
                                   : "Output: one " + m.Code(fields.type_name) +
                                         " structure, with the fields:") +
           FieldsText(m, fields);
  }
  auto spec = command.GetOutputSpec();
  const std::shared_ptr<MetaObj> result = spec ? spec->GetRootObject() : nullptr;
  if (!result) return m.Paragraph("Output: none.");
  switch (result->GetType()) {
    case Cordra::MetaObj::META_BOOL:
      return m.Paragraph("Output: " + m.Code("true") + " on success.");
    case Cordra::MetaObj::META_INT:
      return m.Paragraph("Output: an integer.");
    case Cordra::MetaObj::META_LIST: {
      const auto& proto = static_cast<const MetaList&>(*result).GetPrototype();
      return m.Paragraph("Output: a list of values (" +
                         (proto ? m.Prose(Cordra::Frame::ValueKindText(*proto)) : "unset") + ").");
    }
    case Cordra::MetaObj::META_STRING:
      return m.Paragraph("Output: a string.");
    case Cordra::MetaObj::META_STRUCT:
      break;  // described above
  }
  return "";
}

std::string CommandText(const DocMarkup& m, const TreeEntry& entry) {
  Cordra::AutoCli::Command& command = *entry.command;
  auto spec = command.GetInputSpec();
  const bool has_options = spec && !spec->GetParameters().empty();
  std::string out = m.Heading(3, entry.path);
  if (!command.GetDescription().empty()) out += m.Paragraph(m.Prose(command.GetDescription()));
  out += m.Paragraph("Usage: " + m.Code(std::string(kProgram) + " [global options] " + entry.path +
                                        (has_options ? " [options]" : ""))) +
         m.Paragraph("Default format: " + m.Code(DefaultFormat(command)) + ".");
  if (has_options) {
    std::vector<DocMarkup::Entry> options;
    for (const auto& param : spec->GetParameters()) {
      if (param) options.push_back(OptionEntry(m, *param));
    }
    out += m.Paragraph("Options:") + m.Bullets(options);
  } else {
    out += m.Paragraph("Options: none.");
  }
  out += OutputText(m, command);
  if (!command.GetExamples().empty()) {
    std::vector<DocMarkup::Entry> examples;
    for (const auto& example : command.GetExamples()) {
      std::string line = std::string(kProgram) + " " + entry.path;
      if (!example.arguments.empty()) line += " " + example.arguments;
      examples.push_back({m.Code(line) + Described(m, example.description), {}});
    }
    out += m.Paragraph("Examples:") + m.Bullets(examples);
  }
  return out;
}

std::string NamespaceText(const DocMarkup& m, const TreeEntry& entry) {
  std::string out = m.Heading(2, entry.path);
  if (!entry.node->GetDescription().empty()) {
    out += m.Paragraph(m.Prose(entry.node->GetDescription()));
  }
  for (const bool commands : {false, true}) {
    std::vector<DocMarkup::Entry> list;
    for (const auto& child : entry.node->GetChildren()) {
      if (child.second->IsCommand() != commands) continue;
      list.push_back({m.Link(child.first, entry.path + " " + child.first) +
                          Described(m, child.second->GetDescription()),
                      {}});
    }
    if (!list.empty()) {
      out += m.Paragraph(commands ? "Commands:" : "Namespaces:") + m.Bullets(list);
    }
  }
  return out;
}

std::string Contents(const std::vector<TreeEntry>& tree) {
  std::string out = "## Contents\n\n";
  for (const auto& entry : tree) {
    if (entry.path.empty()) continue;
    const size_t depth = static_cast<size_t>(std::count(entry.path.begin(), entry.path.end(), ' '));
    out +=
        std::string(2 * depth, ' ') + "- " + MarkdownMarkup().Link(entry.path, entry.path) + "\n";
  }
  return out + "\n";
}

std::string Body(const DocMarkup& m, const std::vector<TreeEntry>& tree) {
  std::string out;
  for (const auto& entry : tree) {
    if (entry.path.empty()) continue;
    out += entry.command ? CommandText(m, entry) : NamespaceText(m, entry);
  }
  return out;
}

}  // namespace

std::string MarkdownReference(const std::vector<TreeEntry>& tree) {
  const std::string out =
      "# Command reference\n\n"
      "<!-- Generated from the command tree by `tarvexcli --generate-reference markdown`.\n"
      "     Do not edit: `cmake --build BUILD --target reference` refreshes it. -->\n\n";
  return TidyMarkdown(out + kPreamble + Contents(tree) + Body(MarkdownMarkup(), tree));
}

std::string RoffReference(const std::vector<TreeEntry>& tree) { return Body(RoffMarkup(), tree); }

}  // namespace TarvexShell
