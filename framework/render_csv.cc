#include "framework/render.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

namespace {

const char kLineEnd[] = "\r\n";

}  // namespace

std::string RenderCsv(const OutputModel& model, bool no_header) {
  std::string out;
  switch (model.shape) {
    case OutputModel::Shape::kNothing:
      return out;
    case OutputModel::Shape::kValue:
      return CsvField(PlainText(model.value.get())) + kLineEnd;
    case OutputModel::Shape::kValues:
      for (const auto& value : model.values) out += CsvField(PlainText(value.get())) + kLineEnd;
      return out;
    case OutputModel::Shape::kRecord:
    case OutputModel::Shape::kRecords:
      break;
  }
  if (model.columns.empty()) return out;
  const auto append = [&out](const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + CsvField(fields[i]);
    out += kLineEnd;
  };
  if (!no_header) {
    std::vector<std::string> names;
    for (const auto& column : model.columns) names.push_back(column.name);
    append(names);
  }
  for (const auto& row : model.rows) {
    std::vector<std::string> fields;
    for (const auto& value : row.cells) fields.push_back(PlainText(value.get()));
    append(fields);
  }
  return out;
}

}  // namespace Frame
}  // namespace Cordra
