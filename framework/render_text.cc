// The two formats for people: "table" and "simple". Values go through
// DisplayText so that a value never breaks a line.
#include <algorithm>
#include <charconv>
#include <string_view>

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
// strings, nearly every cell of a large list, are used in place; numbers are
// written in the scratch's digits and booleans are constants; anything else
// is made in the scratch's text through DisplayText.
struct Cell {
  std::string_view text;
  size_t width;
};
struct CellScratch {
  char digits[24];
  std::string text;
};
Cell CellText(const MetaObj::MetaObj* value, CellScratch* scratch) {
  if (value && value->IsSet()) {
    switch (value->GetType()) {
      case MetaObj::META_STRING: {
        const std::string_view text = static_cast<const MetaObj::MetaString*>(value)->View();
        if (IsPrintableAscii(text)) return {text, text.size()};
        break;
      }
      case MetaObj::META_BOOL: {
        const bool on = static_cast<const MetaObj::MetaBool*>(value)->GetValue();
        return on ? Cell{"true", 4} : Cell{"false", 5};
      }
      case MetaObj::META_INT: {
        const auto end = std::to_chars(scratch->digits, scratch->digits + sizeof scratch->digits,
                                       static_cast<const MetaObj::MetaInt*>(value)->GetValue());
        const size_t size = static_cast<size_t>(end.ptr - scratch->digits);
        return {std::string_view(scratch->digits, size), size};
      }
      default:
        break;
    }
  }
  scratch->text = DisplayText(PlainText(value));
  return {scratch->text, DisplayWidth(scratch->text)};
}

// Characters in `n` written in decimal.
size_t DecimalWidth(int64_t n) {
  uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  size_t width = n < 0 ? 2 : 1;
  for (; magnitude >= 10; magnitude /= 10) ++width;
  return width;
}

// CellText(value).width, without writing a number's digits.
size_t CellWidth(const MetaObj::MetaObj* value, CellScratch* scratch) {
  if (value && value->IsSet() && value->GetType() == MetaObj::META_INT) {
    return DecimalWidth(static_cast<const MetaObj::MetaInt*>(value)->GetValue());
  }
  return CellText(value, scratch).width;
}

// Writes table lines: cells padded to their column's width, two blanks
// apart. A line never ends in blanks, also when its last cells (or the ends
// of them) are blank: blanks are written only once text follows them.
class LineWriter {
 public:
  explicit LineWriter(std::string* out) : out_(out) {}

  void Put(const Cell& cell, size_t column_width) {
    const size_t body = cell.text.find_last_not_of(' ') + 1;  // 0 when all blank
    if (body > 0) {
      out_.PutBlanks(pending_);
      pending_ = 0;
      out_.Put(cell.text.substr(0, body));
    }
    pending_ += cell.text.size() - body + column_width - cell.width + 2;
  }
  void EndLine() {
    pending_ = 0;
    out_.Put('\n');
  }
  void Drain() { out_.Drain(); }

 private:
  PieceWriter out_;
  size_t pending_ = 0;  // blanks owed before the next text
};

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
  CellScratch scratch;
  for (const auto& row : model.rows) {
    for (size_t i = 0; i < count; ++i) {
      widths[i] = std::max(widths[i], CellWidth(row.cells[i], &scratch));
    }
  }

  LineWriter out(&sink->text());
  if (!no_header) {
    for (size_t i = 0; i < count; ++i) out.Put({header[i], DisplayWidth(header[i])}, widths[i]);
    out.EndLine();
    for (size_t i = 0; i < count; ++i) {
      header[i].assign(widths[i], '-');
      out.Put({header[i], widths[i]}, widths[i]);
    }
    out.EndLine();
  }
  for (const auto& row : model.rows) {
    for (size_t i = 0; i < count; ++i) out.Put(CellText(row.cells[i], &scratch), widths[i]);
    out.EndLine();
    out.Drain();
    sink->Commit();
  }
  out.Drain();
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
