// What every command class shares: how it is made, how it declares its
// parameters and output structures, and how it reports.
//
// The error rule. A command reports through its Output only: the result
// with SetRootObject, each failure with AddErrorMessage; ExecuteInternal
// then returns normally, and the framework turns the messages into exit
// status 1. The one exception a command catches is
// HostCtl::Lib::HostCtlException, by reference. Everything else (the
// framework's own exceptions, a failure to run the datastore agent, a
// programming error) is not the command's to judge and goes up to the
// framework untouched.
//
// A HostCtlException also goes up to the framework, on purpose, where a
// command's steps make the run's host objects (StorageInfoImpl,
// StorageInfoScopedCache) before its handler is in place: `nfs add` opens
// the host before it reads a parameter, `nfs remove` before the agent hears
// anything, `kovra snapshot mount` before its label and UUID checks. The
// framework then prints the message and exits 1; no result is set. Each
// such place says so in a one-line comment ("Let through on purpose").
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
using MetaPtr = std::shared_ptr<MetaObj::MetaObj>;

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
// The empty value of a field of `type` (bool, int, else string).
MetaPtr EmptyValue(MetaObj::MetaType type);

// An output structure declared once: its fields in order, each with where a
// row's value comes from. The same list gives the empty structure and the
// order in which a row is filled, so the two cannot drift apart. Used where
// a command fills its rows in structure order; the "fields:" hints stay
// literal texts, as they leave fields out or order them otherwise.
template <class Source>
class RowLayout {
 public:
  struct Field {
    const char* name;
    MetaObj::MetaType type;
    // May throw HostCtlException; the row is then left half filled.
    MetaPtr (*value)(const Source& source);
  };

  RowLayout(const char* type_name, std::initializer_list<Field> fields)
      : type_name_(type_name), fields_(fields) {}

  std::shared_ptr<MetaObj::MetaStruct> Empty() const {
    auto row = MetaObj::MetaStruct::New(type_name_);
    for (const Field& field : fields_) row->SetField(field.name, EmptyValue(field.type));
    return row;
  }

  // Sets every field of `row` from `source`, in declaration order.
  void Fill(MetaObj::MetaStruct& row, const Source& source) const {
    for (const Field& field : fields_) row.SetField(field.name, field.value(source));
  }

 private:
  const char* type_name_;
  std::vector<Field> fields_;
};

}  // namespace TarvexCli

#endif  // COMMANDS_COMMAND_SUPPORT_H_
