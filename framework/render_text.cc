// The two formats for people: "table" and "simple". Values go through
// DisplayText so that a value never breaks a line.
#include <algorithm>

#include "framework/render.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

namespace {

std::string ValueText(const MetaObj::MetaObj* value) { return DisplayText(PlainText(value)); }

// kValue and kValues: one value per line in both formats.
void RenderValues(const OutputModel& model, TextSink* sink) {
  std::string& out = sink->text();
  if (model.shape == OutputModel::Shape::kValue) out += ValueText(model.value.get()) + "\n";
  for (const auto& value : model.values) out += ValueText(value.get()) + "\n";
}

bool IsRecordShape(const OutputModel& model) {
  return model.shape == OutputModel::Shape::kRecord || model.shape == OutputModel::Shape::kRecords;
}

// Lines carry no trailing blanks, also when the last cells are empty.
void AppendTrimmed(const std::string& line, std::string* out) {
  const size_t end = line.find_last_not_of(' ');
  *out += (end == std::string::npos ? std::string() : line.substr(0, end + 1)) + "\n";
}

// A cell as the table shows it, and its width in columns. Printable ASCII
// strings, nearly every cell of a large list, are used in place; anything
// else is made in `scratch`.
struct Cell {
  const std::string& text;
  size_t width;
};
Cell CellText(const MetaObj::MetaObj* value, std::string* scratch) {
  if (value && value->IsSet() && value->GetType() == MetaObj::META_STRING) {
    const std::string& text = static_cast<const MetaObj::MetaString*>(value)->GetValue();
    if (IsPrintableAscii(text)) return {text, text.size()};
  }
  *scratch = DisplayText(PlainText(value));
  return {*scratch, DisplayWidth(*scratch)};
}

// Appends one line of `count` cells, `cell(i)` each, padded to `widths`.
template <class CellOf>
void AppendLine(size_t count, CellOf cell, const std::vector<size_t>& widths, std::string* out) {
  for (size_t i = 0; i < count; ++i) {
    const Cell c = cell(i);
    *out += c.text;
    out->append(widths[i] - c.width + 2, ' ');
  }
  // Written in place, so the trailing blanks are taken back (never past the
  // previous line's newline).
  while (!out->empty() && out->back() == ' ') out->pop_back();
  *out += '\n';
}

}  // namespace

void RenderTable(const OutputModel& model, bool no_header, TextSink* sink) {
  if (!IsRecordShape(model)) return RenderValues(model, sink);
  const size_t count = model.columns.size();
  if (count == 0) return;
  std::vector<std::string> header;
  std::vector<size_t> widths(count, 0);
  for (size_t i = 0; i < count; ++i) {
    const Column& column = model.columns[i];
    header.push_back(
        DisplayText(column.unit.empty() ? column.name : column.name + " (" + column.unit + ")"));
    if (!no_header) widths[i] = DisplayWidth(header[i]);
  }
  std::string scratch;
  for (const auto& row : model.rows) {
    for (size_t i = 0; i < count; ++i) {
      widths[i] = std::max(widths[i], CellText(row.cells[i], &scratch).width);
    }
  }

  std::string& out = sink->text();
  if (!no_header) {
    AppendLine(
        count,
        [&](size_t i) {
          return Cell{header[i], DisplayWidth(header[i])};
        },
        widths, &out);
    for (size_t i = 0; i < count; ++i) header[i].assign(widths[i], '-');
    AppendLine(
        count,
        [&](size_t i) {
          return Cell{header[i], DisplayWidth(header[i])};
        },
        widths, &out);
  }
  for (const auto& row : model.rows) {
    AppendLine(
        count, [&](size_t i) { return CellText(row.cells[i], &scratch); }, widths, &out);
    sink->Commit();
  }
}

void RenderSimple(const OutputModel& model, TextSink* sink) {
  if (!IsRecordShape(model)) return RenderValues(model, sink);
  std::string& out = sink->text();
  for (const auto& row : model.rows) {
    if (!row.heading.empty()) out += DisplayText(row.heading) + "\n";
    for (size_t i = 0; i < model.columns.size(); ++i) {
      const std::string value = ValueText(row.cells[i]);
      const std::string& unit = model.columns[i].unit;
      std::string line = "   " + DisplayText(model.columns[i].name) + ": " + value;
      if (!unit.empty() && !value.empty()) line += " " + DisplayText(unit);
      AppendTrimmed(line, &out);
    }
    if (model.shape == OutputModel::Shape::kRecords) out += "\n";
    sink->Commit();
  }
}

}  // namespace Frame
}  // namespace Cordra
