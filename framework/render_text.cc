// The two formats for people: "table" and "simple". Values go through
// DisplayText so that a value never breaks a line.
#include <algorithm>

#include "framework/render.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

namespace {

std::string Cell(const ValuePtr& value) { return DisplayText(PlainText(value.get())); }

// kValue and kValues: one value per line in both formats.
std::string RenderValues(const OutputModel& model) {
  std::string out;
  if (model.shape == OutputModel::Shape::kValue) return Cell(model.value) + "\n";
  for (const auto& value : model.values) out += Cell(value) + "\n";
  return out;
}

bool IsRecordShape(const OutputModel& model) {
  return model.shape == OutputModel::Shape::kRecord || model.shape == OutputModel::Shape::kRecords;
}

// Lines carry no trailing blanks, also when the last cells are empty.
void AppendTrimmed(const std::string& line, std::string* out) {
  const size_t end = line.find_last_not_of(' ');
  *out += (end == std::string::npos ? std::string() : line.substr(0, end + 1)) + "\n";
}

void AppendLine(const std::vector<std::string>& cells, const std::vector<size_t>& widths,
                std::string* out) {
  for (size_t i = 0; i < cells.size(); ++i) {
    *out += cells[i];
    out->append(widths[i] - DisplayWidth(cells[i]) + 2, ' ');
  }
  // Written in place, so the trailing blanks are taken back (never past the
  // previous line's newline).
  while (!out->empty() && out->back() == ' ') out->pop_back();
  *out += '\n';
}

}  // namespace

std::string RenderTable(const OutputModel& model, bool no_header) {
  if (!IsRecordShape(model)) return RenderValues(model);
  if (model.columns.empty()) return std::string();
  std::vector<std::vector<std::string>> lines;
  if (!no_header) {
    std::vector<std::string> header;
    for (const auto& column : model.columns) {
      header.push_back(
          DisplayText(column.unit.empty() ? column.name : column.name + " (" + column.unit + ")"));
    }
    lines.push_back(header);
  }
  for (const auto& row : model.rows) {
    std::vector<std::string> cells;
    for (const auto& value : row.cells) cells.push_back(Cell(value));
    lines.push_back(cells);
  }
  std::vector<size_t> widths(model.columns.size(), 0);
  for (const auto& line : lines) {
    for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(line[i]));
  }
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    AppendLine(lines[i], widths, &out);
    if (i == 0 && !no_header) {
      std::vector<std::string> dashes;
      for (size_t width : widths) dashes.push_back(std::string(width, '-'));
      AppendLine(dashes, widths, &out);
    }
  }
  return out;
}

std::string RenderSimple(const OutputModel& model) {
  if (!IsRecordShape(model)) return RenderValues(model);
  std::string out;
  for (const auto& row : model.rows) {
    if (!row.heading.empty()) out += DisplayText(row.heading) + "\n";
    for (size_t i = 0; i < model.columns.size(); ++i) {
      const std::string value = Cell(row.cells[i]);
      const std::string& unit = model.columns[i].unit;
      std::string line = "   " + DisplayText(model.columns[i].name) + ": " + value;
      if (!unit.empty() && !value.empty()) line += " " + DisplayText(unit);
      AppendTrimmed(line, &out);
    }
    if (model.shape == OutputModel::Shape::kRecords) out += "\n";
  }
  return out;
}

}  // namespace Frame
}  // namespace Cordra
