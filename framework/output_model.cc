#include "framework/output_model.h"

#include <algorithm>
#include <charconv>

#include "framework/parser.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

using MetaObj::MetaList;
using MetaObj::MetaStruct;

namespace {

std::string Hint(const OutputHints& hints, const std::string& key) {
  for (const auto& hint : hints) {
    if (hint.first == key) return hint.second;
  }
  return std::string();
}

void AddFieldsOf(const MetaObj::MetaObj* obj, std::vector<std::string>* names) {
  if (!obj || obj->GetType() != MetaObj::META_STRUCT) return;
  const auto& fields = static_cast<const MetaStruct*>(obj)->GetFields();
  // Rows filled from one prototype repeat its fields in its order: one
  // comparison per field tells so.
  size_t same = 0;
  while (same < fields.size() && same < names->size() && fields[same].first == (*names)[same]) {
    ++same;
  }
  for (size_t i = same; i < fields.size(); ++i) {
    if (std::find(names->begin(), names->end(), fields[i].first) == names->end()) {
      names->push_back(fields[i].first);
    }
  }
}

bool IsStructList(const MetaList& list) {
  if (list.GetElementType() == MetaObj::META_STRUCT) return true;
  const auto& proto = list.GetPrototype();
  return proto && proto->GetType() == MetaObj::META_STRUCT;
}

std::string StructTypeName(const MetaObj::MetaObj& result) {
  if (result.GetType() == MetaObj::META_STRUCT) {
    return static_cast<const MetaStruct&>(result).GetTypeName();
  }
  const auto& list = static_cast<const MetaList&>(result);
  std::vector<MetaObj::MetaObj*> candidates{list.GetPrototype().get()};
  for (const auto& element : list.GetElements()) candidates.push_back(element.get());
  for (const auto* candidate : candidates) {
    if (candidate && candidate->GetType() == MetaObj::META_STRUCT) {
      return static_cast<const MetaStruct*>(candidate)->GetTypeName();
    }
  }
  return std::string();
}

// Where `record` has field `name`, or npos.
size_t IndexOf(const MetaStruct& record, const std::string& name) {
  for (size_t i = 0; i < record.GetFields().size(); ++i) {
    if (record.FieldName(i) == name) return i;
  }
  return std::string::npos;
}

// "%Field%" in `pattern` becomes the record's value of Field; any other text
// stays as it is.
std::string Heading(const std::string& pattern, const MetaStruct* record) {
  std::string out;
  size_t pos = 0;
  while (pos < pattern.size()) {
    const size_t open = pattern.find('%', pos);
    const size_t close = open == std::string::npos ? open : pattern.find('%', open + 1);
    if (close == std::string::npos) {
      out += pattern.substr(pos);
      break;
    }
    out += pattern.substr(pos, open - pos);
    const std::string name = pattern.substr(open + 1, close - open - 1);
    auto value = record ? record->GetField(name) : nullptr;
    out += value ? PlainText(value.get()) : pattern.substr(open, close - open + 1);
    pos = close + 1;
  }
  return out;
}

}  // namespace

std::vector<std::string> SplitFieldList(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(',', start);
    std::string name = list.substr(start, comma == std::string::npos ? comma : comma - start);
    const size_t first = name.find_first_not_of(" \t");
    const size_t last = name.find_last_not_of(" \t");
    names.push_back(first == std::string::npos ? "" : name.substr(first, last - first + 1));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

std::vector<std::string> AvailableFields(const MetaObj::MetaObj& result) {
  std::vector<std::string> names;
  if (result.GetType() == MetaObj::META_STRUCT) {
    AddFieldsOf(&result, &names);
  } else if (result.GetType() == MetaObj::META_LIST) {
    const auto& list = static_cast<const MetaList&>(result);
    AddFieldsOf(list.GetPrototype().get(), &names);
    // Rows filled alike add nothing after the first of them.
    const MetaStruct* seen = nullptr;
    for (const auto& element : list.GetElements()) {
      if (element && element->GetType() == MetaObj::META_STRUCT) {
        const auto* record = static_cast<const MetaStruct*>(element.get());
        if (seen && record->SameFieldsAs(*seen)) continue;
        seen = record;
      }
      AddFieldsOf(element.get(), &names);
    }
  }
  return names;
}

void CheckFieldSelection(const MetaObj::MetaObj& result, const std::vector<std::string>& selected) {
  const std::vector<std::string> available = AvailableFields(result);
  if (available.empty()) {
    throw UsageError("Option --fields does not apply: this command's result has no fields");
  }
  for (const auto& name : selected) {
    if (std::find(available.begin(), available.end(), name) != available.end()) continue;
    std::string valid;
    for (const auto& field : available) valid += (valid.empty() ? "'" : ", '") + field + "'";
    throw UsageError("Unknown field '" + DisplayText(name) + "' in --fields: expected one of " +
                     valid);
  }
}

OutputModel BuildOutputModel(const std::shared_ptr<MetaObj::MetaObj>& result,
                             const OutputHints& hints, const std::vector<std::string>& selected) {
  OutputModel model;
  if (!result) return model;
  if (!selected.empty()) CheckFieldSelection(*result, selected);
  const MetaObj::MetaType type = result->GetType();
  if (type != MetaObj::META_STRUCT && type != MetaObj::META_LIST) {
    model.shape = OutputModel::Shape::kValue;
    model.value = result;
    return model;
  }
  std::vector<const MetaStruct*> records;
  if (type == MetaObj::META_STRUCT) {
    model.shape = OutputModel::Shape::kRecord;
    records.push_back(static_cast<const MetaStruct*>(result.get()));
  } else {
    const auto& list = static_cast<const MetaList&>(*result);
    if (!IsStructList(list)) {
      model.shape = OutputModel::Shape::kValues;
      for (const auto& element : list.GetElements()) {
        model.values.push_back(std::shared_ptr<MetaObj::MetaObj>(element));
      }
      return model;
    }
    model.shape = OutputModel::Shape::kRecords;
    records.reserve(list.GetElements().size());
    for (const auto& element : list.GetElements()) {
      const bool is_struct = element && element->GetType() == MetaObj::META_STRUCT;
      records.push_back(is_struct ? static_cast<const MetaStruct*>(element.get()) : nullptr);
    }
  }
  model.type_name = StructTypeName(*result);

  std::vector<std::string> names;
  const std::vector<std::string> available = AvailableFields(*result);
  if (!selected.empty()) {
    names = selected;
  } else {
    for (const auto& name : SplitFieldList(Hint(hints, "fields:" + model.type_name))) {
      if (std::find(available.begin(), available.end(), name) != available.end()) {
        names.push_back(name);
      }
    }
    if (names.empty()) names = available;
  }
  for (const auto& name : names) {
    model.columns.push_back({name, Hint(hints, "units:" + model.type_name + "." + name)});
  }

  const std::string header = Hint(hints, "header:" + model.type_name);
  OutputModel::Rows& rows = model.rows;
  rows.records = std::move(records);
  if (!header.empty()) {
    for (const MetaStruct* record : rows.records) rows.headings.push_back(Heading(header, record));
  }
  // Records filled alike have their fields in the same places: each
  // column's place is found once per run of such records.
  const MetaStruct* placed = nullptr;  // the record the last placement was found in
  for (size_t r = 0; r < rows.records.size(); ++r) {
    const MetaStruct* record = rows.records[r];
    if (!rows.placements.empty() && (!record || (placed && record->SameFieldsAs(*placed)))) {
      continue;  // a non-structure reads no field: any placement serves
    }
    OutputModel::Placement placement{r, std::vector<uint32_t>(names.size(), OutputModel::kMissing)};
    if (record) {
      for (size_t i = 0; i < names.size(); ++i) {
        const size_t at = IndexOf(*record, names[i]);
        if (at != std::string::npos) placement.at[i] = static_cast<uint32_t>(at);
      }
    }
    placed = record;
    rows.placements.push_back(std::move(placement));
  }
  return model;
}

void AppendPlainText(const MetaObj::MetaObj* value, std::string* out) {
  if (!value || !value->IsSet()) return;
  switch (value->GetType()) {
    case MetaObj::META_BOOL:
      *out += static_cast<const MetaObj::MetaBool*>(value)->GetValue() ? "true" : "false";
      return;
    case MetaObj::META_INT: {
      char digits[24];
      const auto end = std::to_chars(digits, digits + sizeof digits,
                                     static_cast<const MetaObj::MetaInt*>(value)->GetValue());
      out->append(digits, static_cast<size_t>(end.ptr - digits));
      return;
    }
    case MetaObj::META_STRING:
      *out += static_cast<const MetaObj::MetaString*>(value)->View();
      return;
    case MetaObj::META_STRUCT: {
      *out += '{';
      bool first = true;
      for (const auto& field : static_cast<const MetaStruct*>(value)->GetFields()) {
        if (!first) *out += ", ";
        first = false;
        *out += field.first;
        *out += ": ";
        AppendPlainText(field.second.get(), out);
      }
      *out += '}';
      return;
    }
    case MetaObj::META_LIST: {
      *out += '[';
      bool first = true;
      for (const auto& element : static_cast<const MetaList*>(value)->GetElements()) {
        if (!first) *out += ", ";
        first = false;
        AppendPlainText(element.get(), out);
      }
      *out += ']';
      return;
    }
  }
}

std::string PlainText(const MetaObj::MetaObj* value) {
  std::string text;
  AppendPlainText(value, &text);
  return text;
}

}  // namespace Frame
}  // namespace Cordra
