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

std::shared_ptr<MetaObj::MetaStruct> EmptyStruct(
    const char* type_name,
    std::initializer_list<std::pair<const char*, MetaObj::MetaType>> fields) {
  auto row = MetaObj::MetaStruct::New(type_name);
  for (const auto& field : fields) {
    switch (field.second) {
      case MetaObj::META_BOOL:
        row->SetField(field.first, MetaObj::MetaBool::New());
        break;
      case MetaObj::META_INT:
        row->SetField(field.first, MetaObj::MetaInt::New());
        break;
      default:
        row->SetField(field.first, MetaObj::MetaString::New());
        break;
    }
  }
  return row;
}

}  // namespace TarvexCli
