// The fields of a command's result as its help and the command reference
// describe them: the result's structure, each field's kind and unit, and
// the fields shown when --fields is not given.
#ifndef FRAMEWORK_OUTPUT_FIELDS_H_
#define FRAMEWORK_OUTPUT_FIELDS_H_

#include <memory>
#include <string>
#include <vector>

#include "cordra/command.h"
#include "cordra/meta_obj.h"

namespace Cordra {
namespace Frame {

struct OutputField {
  std::string name;
  std::string kind;  // "string", "integer", "boolean", "structure T", "list"
  std::string unit;  // from "units:<Struct>.<Field>"; "" when none
};

struct OutputFields {
  std::string type_name;            // the structure type
  bool list = false;                // one record per row, or a single record
  std::vector<OutputField> fields;  // in the structure's order
  std::vector<std::string> shown;   // shown by default, in that order
  std::string heading;              // the "header:<Struct>" pattern, or ""
};

// The plain name of a value's kind, as OutputField::kind has it.
std::string ValueKindText(const MetaObj::MetaObj& value);

// The fields of `command`'s result prototype (from its output spec and
// output hints). False when the result is not made of structures.
bool DescribeOutputFields(AutoCli::Command& command, OutputFields* out);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_OUTPUT_FIELDS_H_
