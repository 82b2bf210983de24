#include "commands/command_support.h"

namespace TarvexCli {

std::shared_ptr<CallSpec::ParameterSpec> MakeParameter(const ParamDef& def) {
  auto param = CallSpec::ParameterSpec::New(def.name, def.type);
  if (*def.short_name) param->SetShortName(def.short_name);
  if (*def.description) param->SetDescription(def.description);
  param->SetRequired(def.required);
  if (def.constraint) param->SetConstraint(def.constraint);
  return param;
}

std::shared_ptr<CallSpec::InputSpec> AddParameters(std::shared_ptr<CallSpec::InputSpec> spec,
                                                   std::initializer_list<ParamDef> defs) {
  for (const ParamDef& def : defs) spec->AddParameter(MakeParameter(def));
  return spec;
}

std::shared_ptr<CallSpec::ParameterConstraint> IntRange(int64_t min, int64_t max) {
  auto constraint = CallSpec::ParameterConstraint::New(CallSpec::CONSTRAINT_INT_RANGE);
  constraint->SetIntRange(min, max);
  return constraint;
}

std::shared_ptr<CallSpec::ParameterConstraint> StringEnum(
    std::initializer_list<std::pair<std::string, std::string>> values) {
  auto constraint = CallSpec::ParameterConstraint::New(CallSpec::CONSTRAINT_STRING_ENUM);
  for (const auto& value : values) constraint->AddStringEnum(value.first, value.second);
  return constraint;
}

std::shared_ptr<CallSpec::OutputSpec> OutputSpecOf(std::shared_ptr<MetaObj::MetaObj> prototype) {
  auto spec = CallSpec::OutputSpec::New();
  spec->SetRootObject(std::move(prototype));
  return spec;
}

std::shared_ptr<MetaObj::MetaList> StructList(std::shared_ptr<MetaObj::MetaStruct> row) {
  return MetaObj::MetaList::New(MetaObj::META_STRUCT, std::move(row));
}

MetaPtr EmptyValue(MetaObj::MetaType type) {
  switch (type) {
    case MetaObj::META_BOOL:
      return MetaObj::MetaBool::New();
    case MetaObj::META_INT:
      return MetaObj::MetaInt::New();
    default:
      return MetaObj::MetaString::New();
  }
}

std::shared_ptr<MetaObj::MetaStruct> EmptyStruct(
    const char* type_name,
    std::initializer_list<std::pair<const char*, MetaObj::MetaType>> fields) {
  auto row = MetaObj::MetaStruct::New(type_name);
  for (const auto& field : fields) row->SetField(field.first, EmptyValue(field.second));
  return row;
}

}  // namespace TarvexCli
