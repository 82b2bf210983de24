#include "framework/render.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

namespace {

const char kLineEnd[] = "\r\n";

}  // namespace

void RenderCsv(const OutputModel& model, bool no_header, TextSink* sink) {
  std::string& out = sink->text();
  switch (model.shape) {
    case OutputModel::Shape::kNothing:
      return;
    case OutputModel::Shape::kValue:
      out += CsvField(PlainText(model.value.get())) + kLineEnd;
      return;
    case OutputModel::Shape::kValues:
      for (const auto& value : model.values) out += CsvField(PlainText(value.get())) + kLineEnd;
      return;
    case OutputModel::Shape::kRecord:
    case OutputModel::Shape::kRecords:
      break;
  }
  if (model.columns.empty()) return;
  const auto append = [&out, sink](const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + CsvField(fields[i]);
    out += kLineEnd;
    sink->Commit();
  };
  if (!no_header) {
    std::vector<std::string> names;
    for (const auto& column : model.columns) names.push_back(column.name);
    append(names);
  }
  for (const auto& row : model.rows) {
    std::vector<std::string> fields;
    for (size_t i = 0; i < model.columns.size(); ++i) fields.push_back(PlainText(row.cells[i]));
    append(fields);
  }
}

}  // namespace Frame
}  // namespace Cordra
