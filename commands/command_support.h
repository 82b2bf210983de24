// What every command class shares: how it is made and how it declares its
// parameters.
#ifndef COMMANDS_COMMAND_SUPPORT_H_
#define COMMANDS_COMMAND_SUPPORT_H_

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cordra/cordra.h"

namespace TarvexCli {

namespace CallSpec = Cordra::CallSpec;
namespace MetaObj = Cordra::MetaObj;
using Cordra::AutoCli::Command;
using InputPtr = Command::InputPtr;
using OutputPtr = Command::OutputPtr;

// A command made with a plain new-expression, its node's self-reference bound
// to the shared pointer that owns it (the construction of most commands).
template <class T>
std::shared_ptr<T> NewBoundCommand() {
  std::shared_ptr<T> command(new T());
  command->BindThis(command);
  return command;
}

// One row of a command's parameter table.
struct ParamDef {
  const char* name;
  const char* short_name;  // "" when the parameter has none
  CallSpec::ParameterType type;
  bool required;
  const char* description;  // "" when the parameter has none
  std::shared_ptr<CallSpec::ParameterConstraint> constraint = nullptr;
};

std::shared_ptr<CallSpec::ParameterSpec> MakeParameter(const ParamDef& def);
// Adds the rows to `spec` in order and returns it.
std::shared_ptr<CallSpec::InputSpec> AddParameters(std::shared_ptr<CallSpec::InputSpec> spec,
                                                   std::initializer_list<ParamDef> defs);

// Constraints for the parameter table.
std::shared_ptr<CallSpec::ParameterConstraint> IntRange(int64_t min, int64_t max);
std::shared_ptr<CallSpec::ParameterConstraint> StringEnum(
    std::initializer_list<std::pair<std::string, std::string>> values);

// An output spec whose root is `prototype`.
std::shared_ptr<CallSpec::OutputSpec> OutputSpecOf(std::shared_ptr<MetaObj::MetaObj> prototype);
// A list of structures with `row` as its prototype.
std::shared_ptr<MetaObj::MetaList> StructList(std::shared_ptr<MetaObj::MetaStruct> row);
// A structure of `type_name` with the given fields, each an empty value.
std::shared_ptr<MetaObj::MetaStruct> EmptyStruct(
    const char* type_name, std::initializer_list<std::pair<const char*, MetaObj::MetaType>> fields);

}  // namespace TarvexCli

#endif  // COMMANDS_COMMAND_SUPPORT_H_
