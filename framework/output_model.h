// A command's result laid out for rendering, apart from any output format:
// which records there are, which columns (fields) they show in which order,
// with which units, and each record's heading. Built once per run from the
// result, the command's output hints and the user's field selection.
#ifndef FRAMEWORK_OUTPUT_MODEL_H_
#define FRAMEWORK_OUTPUT_MODEL_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cordra/meta_obj.h"

namespace Cordra {
namespace Frame {

// A command's default output parameters (key, value), as CommandSpec keeps
// them: "fields:<Struct>", "header:<Struct>", "units:<Struct>.<Field>".
using OutputHints = std::vector<std::pair<std::string, std::string>>;
using ValuePtr = std::shared_ptr<const MetaObj::MetaObj>;

struct Column {
  std::string name;  // the field name, exactly as the structure has it
  std::string unit;  // "" when the command gave none
};

struct OutputModel {
  enum class Shape {
    kNothing,  // no result
    kValue,    // a bool, integer or string: `value`
    kRecord,   // one structure: one row
    kRecords,  // a list of structures: one row each, possibly none
    kValues,   // a list of plain values: `values`
  };
  // Cells point into the result the model was built from, which must
  // outlive the model.
  struct Row {
    std::string heading;  // from "header:<Struct>"; "" when there is none
    // One per column, null for a missing field; points into `cells` below.
    const MetaObj::MetaObj* const* cells = nullptr;
  };

  // Rows point into the model's own `cells`, which a move keeps in place
  // and a copy would not.
  OutputModel() = default;
  OutputModel(OutputModel&&) = default;
  OutputModel& operator=(OutputModel&&) = default;
  OutputModel(const OutputModel&) = delete;
  OutputModel& operator=(const OutputModel&) = delete;

  Shape shape = Shape::kNothing;
  ValuePtr value;
  std::vector<ValuePtr> values;
  std::string type_name;  // the structure type of the records
  std::vector<Column> columns;
  std::vector<Row> rows;
  // Every row's cells, row after row: one block for the whole result.
  std::vector<const MetaObj::MetaObj*> cells;
};

// The fields a result of this kind has, in order: a structure's own, or for
// a list the fields of its prototype followed by any other field its
// elements have. Empty when the result has no fields.
std::vector<std::string> AvailableFields(const MetaObj::MetaObj& result);

// Throws UsageError unless every name in `selected` is one of `result`'s
// fields (and the result has fields at all).
void CheckFieldSelection(const MetaObj::MetaObj& result, const std::vector<std::string>& selected);

// Columns: `selected` when not empty (checked as above), else the
// "fields:<Struct>" hint (names trimmed of blanks; names the result lacks
// are left out), else every field.
OutputModel BuildOutputModel(const std::shared_ptr<MetaObj::MetaObj>& result,
                             const OutputHints& hints, const std::vector<std::string>& selected);

// A value as plain text: "" when null or unset, "true"/"false", a decimal
// integer, a string unchanged; a nested structure as "{Field: value, ...}",
// a nested list as "[value, ...]".
std::string PlainText(const MetaObj::MetaObj* value);
// The same text appended to `out`, with no copy made on the way.
void AppendPlainText(const MetaObj::MetaObj* value, std::string* out);

// Splits a comma-separated list of field names, trimming blanks around each.
std::vector<std::string> SplitFieldList(const std::string& list);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_OUTPUT_MODEL_H_
