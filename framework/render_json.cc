#include <nlohmann/json.hpp>

#include "framework/render.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

namespace {

// Keeps the fields in the command's order rather than sorted.
using Json = nlohmann::ordered_json;

Json ToJson(const MetaObj::MetaObj* value) {
  if (!value || !value->IsSet()) return nullptr;
  switch (value->GetType()) {
    case MetaObj::META_BOOL:
      return static_cast<const MetaObj::MetaBool*>(value)->GetValue();
    case MetaObj::META_INT:
      return static_cast<const MetaObj::MetaInt*>(value)->GetValue();
    case MetaObj::META_STRING:
      return SanitizeUtf8(static_cast<const MetaObj::MetaString*>(value)->GetValue());
    case MetaObj::META_STRUCT: {
      Json object = Json::object();
      for (const auto& field : static_cast<const MetaObj::MetaStruct*>(value)->GetFields()) {
        object[SanitizeUtf8(field.first)] = ToJson(field.second.get());
      }
      return object;
    }
    case MetaObj::META_LIST: {
      Json array = Json::array();
      for (const auto& element : static_cast<const MetaObj::MetaList*>(value)->GetElements()) {
        array.push_back(ToJson(element.get()));
      }
      return array;
    }
  }
  return nullptr;
}

Json RowToJson(const OutputModel& model, const OutputModel::Row& row) {
  Json object = Json::object();
  for (size_t i = 0; i < model.columns.size(); ++i) {
    object[SanitizeUtf8(model.columns[i].name)] = ToJson(row.cells[i].get());
  }
  return object;
}

}  // namespace

std::string RenderJson(const OutputModel& model) {
  Json doc;
  switch (model.shape) {
    case OutputModel::Shape::kNothing:
      return std::string();
    case OutputModel::Shape::kValue:
      doc = ToJson(model.value.get());
      break;
    case OutputModel::Shape::kValues:
      doc = Json::array();
      for (const auto& value : model.values) doc.push_back(ToJson(value.get()));
      break;
    case OutputModel::Shape::kRecord:
      doc = RowToJson(model, model.rows.front());
      break;
    case OutputModel::Shape::kRecords:
      doc = Json::array();
      for (const auto& row : model.rows) doc.push_back(RowToJson(model, row));
      break;
  }
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace Frame
}  // namespace Cordra
