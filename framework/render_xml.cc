// The XML shape:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <output>
//     <list>
//       <structure typeName="NasMount">
//         <field name="Volume Name"><string>vol1</string></field>
//         <field name="Cache Size" unit="MiB"><integer>768</integer></field>
//         <field name="Mounted"><boolean>true</boolean></field>
//         <field name="Unset Field"/>
//       </structure>
//     </list>
//   </output>
//
// A single structure stands directly in <output>, a plain result as
// <output><boolean>true</boolean></output>; a list of plain values is a
// <list> of value elements. Nested structures and lists inside a field use
// the same elements on one line; a missing element of a list is <null/>.
#include "framework/render.h"
#include "framework/text_escape.h"

namespace Cordra {
namespace Frame {

namespace {

std::string ValueXml(const MetaObj::MetaObj* value) {
  switch (value->GetType()) {
    case MetaObj::META_BOOL:
      return "<boolean>" + PlainText(value) + "</boolean>";
    case MetaObj::META_INT:
      return "<integer>" + PlainText(value) + "</integer>";
    case MetaObj::META_STRING:
      return "<string>" + XmlEscape(PlainText(value), false) + "</string>";
    case MetaObj::META_STRUCT: {
      const auto* record = static_cast<const MetaObj::MetaStruct*>(value);
      std::string out = "<structure typeName=\"" + XmlEscape(record->GetTypeName(), true) + "\">";
      for (const auto& field : record->GetFields()) {
        out += "<field name=\"" + XmlEscape(field.first, true) + "\"";
        const auto* inner = field.second.get();
        out += inner && inner->IsSet() ? ">" + ValueXml(inner) + "</field>" : "/>";
      }
      return out + "</structure>";
    }
    case MetaObj::META_LIST: {
      std::string out = "<list>";
      for (const auto& element : static_cast<const MetaObj::MetaList*>(value)->GetElements()) {
        out += element && element->IsSet() ? ValueXml(element.get()) : "<null/>";
      }
      return out + "</list>";
    }
  }
  return std::string();
}

std::string ValueOrNull(const ValuePtr& value) {
  return value && value->IsSet() ? ValueXml(value.get()) : "<null/>";
}

std::string RecordXml(const OutputModel& model, const OutputModel::Row& row,
                      const std::string& indent) {
  std::string out = indent + "<structure typeName=\"" + XmlEscape(model.type_name, true) + "\">\n";
  for (size_t i = 0; i < model.columns.size(); ++i) {
    const Column& column = model.columns[i];
    out += indent + "  <field name=\"" + XmlEscape(column.name, true) + "\"";
    if (!column.unit.empty()) out += " unit=\"" + XmlEscape(column.unit, true) + "\"";
    const MetaObj::MetaObj* value = row.cells[i];
    out += value && value->IsSet() ? ">" + ValueXml(value) + "</field>\n" : "/>\n";
  }
  return out + indent + "</structure>\n";
}

}  // namespace

void RenderXml(const OutputModel& model, TextSink* sink) {
  if (model.shape == OutputModel::Shape::kNothing) return;
  std::string& out = sink->text();
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<output>\n";
  switch (model.shape) {
    case OutputModel::Shape::kNothing:
      break;
    case OutputModel::Shape::kValue:
      out += "  " + ValueOrNull(model.value) + "\n";
      break;
    case OutputModel::Shape::kValues:
      out += "  <list>\n";
      for (const auto& value : model.values) out += "    " + ValueOrNull(value) + "\n";
      out += "  </list>\n";
      break;
    case OutputModel::Shape::kRecord:
      out += RecordXml(model, model.rows.front(), "  ");
      break;
    case OutputModel::Shape::kRecords:
      out += "  <list>\n";
      for (const auto& row : model.rows) {
        out += RecordXml(model, row, "    ");
        sink->Commit();
      }
      out += "  </list>\n";
      break;
  }
  out += "</output>\n";
}

}  // namespace Frame
}  // namespace Cordra
