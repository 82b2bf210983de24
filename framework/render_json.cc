#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "framework/render.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

namespace {

// Invalid UTF-8 comes out as U+FFFD; quotes, backslashes and control
// characters are escaped.
void AppendString(std::string_view raw, std::string* out) {
  if (IsPlainJsonText(raw)) {  // nearly every string: copied as it is
    *out += '"';
    *out += raw;
    *out += '"';
    return;
  }
  std::string sanitized;
  if (!IsAscii(raw)) sanitized = SanitizeUtf8(raw);
  const std::string_view text = sanitized.empty() ? raw : std::string_view(sanitized);
  *out += '"';
  // Copy runs that need no escape in one go; most values are one run.
  size_t run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out->append(text, run, i - run);
    run = i + 1;
    switch (c) {
      case '"':
        *out += "\\\"";
        break;
      case '\\':
        *out += "\\\\";
        break;
      case '\b':
        *out += "\\b";
        break;
      case '\f':
        *out += "\\f";
        break;
      case '\n':
        *out += "\\n";
        break;
      case '\r':
        *out += "\\r";
        break;
      case '\t':
        *out += "\\t";
        break;
      default: {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
        *out += escape;
      }
    }
  }
  out->append(text, run, text.size() - run);
  *out += '"';
}

// Writes JSON into the sink's text, indented by two blanks per level,
// fields in the command's order. Large lists are the common case, so
// nothing is built per value but the text itself.
class JsonWriter {
 public:
  explicit JsonWriter(TextSink* sink) : sink_(sink), out_(&sink->text()) {}
  void Commit() {
    out_.Drain();
    sink_->Commit();
  }

  void Value(const MetaObj::MetaObj* value, int depth) {
    if (!value || !value->IsSet()) {
      out_.Put("null");
      return;
    }
    switch (value->GetType()) {
      case MetaObj::META_BOOL:
        out_.Put(static_cast<const MetaObj::MetaBool*>(value)->GetValue() ? "true" : "false");
        return;
      case MetaObj::META_INT: {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits,
                                       static_cast<const MetaObj::MetaInt*>(value)->GetValue());
        out_.Put(std::string_view(digits, end.ptr - digits));
        return;
      }
      case MetaObj::META_STRING:
        String(static_cast<const MetaObj::MetaString*>(value)->View());
        return;
      case MetaObj::META_STRUCT: {
        const auto& fields = static_cast<const MetaObj::MetaStruct*>(value)->GetFields();
        Open('{', fields.empty());
        for (size_t i = 0; i < fields.size(); ++i) {
          Separator(depth + 1, i == 0);
          String(fields[i].first);
          out_.Put(": ");
          Value(fields[i].second.get(), depth + 1);
        }
        Close('}', fields.empty(), depth);
        return;
      }
      case MetaObj::META_LIST: {
        const auto& elements = static_cast<const MetaObj::MetaList*>(value)->GetElements();
        Open('[', elements.empty());
        for (size_t i = 0; i < elements.size(); ++i) {
          Separator(depth + 1, i == 0);
          Value(elements[i].get(), depth + 1);
        }
        Close(']', elements.empty(), depth);
        return;
      }
    }
    out_.Put("null");
  }

  // What comes before each column's value in a row at `depth`: the
  // separator, the indent and the member's name ("\"Name\": "), made once
  // for all rows of `model`.
  static std::vector<std::string> Keys(const OutputModel& model, int depth) {
    std::vector<std::string> keys;
    for (size_t i = 0; i < model.columns.size(); ++i) {
      std::string key = i == 0 ? "\n" : ",\n";
      key.append(2 * (depth + 1), ' ');
      AppendString(model.columns[i].name, &key);
      keys.push_back(key + ": ");
    }
    return keys;
  }

  void Row(const std::vector<std::string>& keys, const OutputModel::Row& row, int depth) {
    out_.Put('{');
    for (size_t i = 0; i < keys.size(); ++i) {
      out_.Put(keys[i]);
      Value(row.cells[i], depth + 1);
    }
    Close('}', keys.empty(), depth);
  }

  void EndLine() { out_.Put('\n'); }
  void Open(char bracket, bool empty) {
    out_.Put(bracket);
    if (!empty) out_.Put('\n');
  }
  void Close(char bracket, bool empty, int depth) {
    if (!empty) {
      out_.Put('\n');
      Indent(depth);
    }
    out_.Put(bracket);
  }
  void Separator(int depth, bool first) {
    if (!first) out_.Put(",\n");
    Indent(depth);
  }

 private:
  void Indent(int depth) { out_.PutBlanks(2 * static_cast<size_t>(depth)); }

  void String(std::string_view raw) {
    if (IsPlainJsonText(raw)) {  // nearly every string: copied as it is
      out_.Put('"');
      out_.Put(raw);
      out_.Put('"');
      return;
    }
    std::string escaped;
    AppendString(raw, &escaped);
    out_.Put(escaped);
  }

  TextSink* sink_;
  PieceWriter out_;
};

}  // namespace

void RenderJson(const OutputModel& model, TextSink* out) {
  JsonWriter json(out);
  switch (model.shape) {
    case OutputModel::Shape::kNothing:
      return;
    case OutputModel::Shape::kValue:
      json.Value(model.value.get(), 0);
      break;
    case OutputModel::Shape::kValues:
      json.Open('[', model.values.empty());
      for (size_t i = 0; i < model.values.size(); ++i) {
        json.Separator(1, i == 0);
        json.Value(model.values[i].get(), 1);
      }
      json.Close(']', model.values.empty(), 0);
      break;
    case OutputModel::Shape::kRecord:
      json.Row(JsonWriter::Keys(model, 0), model.rows.front(), 0);
      break;
    case OutputModel::Shape::kRecords: {
      const std::vector<std::string> keys = JsonWriter::Keys(model, 1);
      json.Open('[', model.rows.empty());
      bool first = true;
      for (const auto& row : model.rows) {
        json.Separator(1, first);
        first = false;
        json.Row(keys, row, 1);
        json.Commit();
      }
      json.Close(']', model.rows.empty(), 0);
      break;
    }
  }
  json.EndLine();
  json.Commit();
}

}  // namespace Frame
}  // namespace Cordra
