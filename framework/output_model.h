// A command's result laid out for rendering, apart from any output format:
// which records there are, which columns (fields) they show in which order,
// with which units, and each record's heading. Built once per run from the
// result, the command's output hints and the user's field selection.
#ifndef FRAMEWORK_OUTPUT_MODEL_H_
#define FRAMEWORK_OUTPUT_MODEL_H_

#include <cstdint>
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
  static constexpr uint32_t kMissing = UINT32_MAX;

  // A row as renderers read it: cells[i] is the value of column i, null for
  // a missing field. It points into the result the model was built from,
  // which must outlive the model.
  struct Row {
    const std::string& heading;  // from "header:<Struct>"; "" when there is none
    struct Cells {
      const MetaObj::MetaStruct* record;  // null for an element that is not a structure
      const uint32_t* at;                 // each column's field index, or kMissing
      const MetaObj::MetaObj* operator[](size_t i) const {
        return record && at[i] != kMissing ? record->GetFields()[at[i]].second.get() : nullptr;
      }
    } cells;
  };

  // Where each column's field is in a run of records filled alike, which
  // share their field order: found once per run, not once per row.
  struct Placement {
    size_t first;              // the run's first row
    std::vector<uint32_t> at;  // per column
  };

  // The rows, in order, made on the fly from one pointer a record: a list of
  // a million rows costs 8 bytes a row here.
  class Rows {
   public:
    class iterator {
     public:
      iterator(const Rows* rows, size_t r, size_t run) : rows_(rows), r_(r), run_(run) {}
      Row operator*() const { return rows_->At(r_, run_); }
      iterator& operator++() {
        ++r_;
        if (run_ + 1 < rows_->placements.size() && rows_->placements[run_ + 1].first == r_) ++run_;
        return *this;
      }
      bool operator!=(const iterator& other) const { return r_ != other.r_; }

     private:
      const Rows* rows_;
      size_t r_, run_;
    };
    size_t size() const { return records.size(); }
    bool empty() const { return records.empty(); }
    Row front() const { return At(0, 0); }
    iterator begin() const { return iterator(this, 0, 0); }
    iterator end() const { return iterator(this, size(), 0); }

    std::vector<const MetaObj::MetaStruct*> records;
    std::vector<std::string> headings;  // one per row, or none when no row has one
    std::vector<Placement> placements;  // in row order; the first has first == 0

   private:
    Row At(size_t r, size_t run) const {
      static const std::string none;
      return Row{headings.empty() ? none : headings[r], {records[r], placements[run].at.data()}};
    }
  };

  // Moved, never copied: a large list's model holds a pointer a record.
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
  Rows rows;
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
