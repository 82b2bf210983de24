#include "framework/output_fields.h"

#include "framework/output_model.h"

namespace Cordra {
namespace Frame {

using MetaObj::MetaList;
using MetaObj::MetaStruct;

std::string ValueKindText(const MetaObj::MetaObj& value) {
  switch (value.GetType()) {
    case MetaObj::META_BOOL:
      return "boolean";
    case MetaObj::META_INT:
      return "integer";
    case MetaObj::META_STRING:
      return "string";
    case MetaObj::META_STRUCT:
      return "structure " + static_cast<const MetaStruct&>(value).GetTypeName();
    case MetaObj::META_LIST:
      return "list";
  }
  return "";
}

bool DescribeOutputFields(AutoCli::Command& command, OutputFields* out) {
  auto spec = command.GetOutputSpec();
  const std::shared_ptr<MetaObj::MetaObj> result = spec ? spec->GetRootObject() : nullptr;
  if (!result) return false;
  const MetaObj::MetaObj* record = result.get();
  if (result->GetType() == MetaObj::META_LIST) {
    record = static_cast<const MetaList&>(*result).GetPrototype().get();
    out->list = true;
  }
  if (!record || record->GetType() != MetaObj::META_STRUCT) return false;
  const auto& structure = static_cast<const MetaStruct&>(*record);
  out->type_name = structure.GetTypeName();
  for (const auto& field : structure.GetFields()) {
    out->fields.push_back(
        {field.first, field.second ? ValueKindText(*field.second) : "unset",
         command.GetDefaultOutputParameter("units:" + out->type_name + "." + field.first)});
  }
  for (const auto& column :
       BuildOutputModel(result, command.GetDefaultOutputParameters(), {}).columns) {
    out->shown.push_back(column.name);
  }
  out->heading = command.GetDefaultOutputParameter("header:" + out->type_name);
  return true;
}

}  // namespace Frame
}  // namespace Cordra
