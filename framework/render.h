// Renders a command's result on standard output in one of the formats the
// user can choose. The text is either returned whole, which tests compare
// directly, or written to a stream as it is made.
//
//   table   columns as the command's "fields:" hint orders them (or every
//           field); a header row ("Name (unit)" when the command gives a
//           unit), a row of dashes, then one row per record; columns are as
//           wide as their widest cell, two blanks apart, left-aligned.
//   simple  a structure as "   Field: value unit" lines; a list of structures
//           as records, each headed by its "header:" text, then its fields,
//           then a blank line.
//   json    a structure is an object keyed by the exact field names, a list an
//           array, integers numbers, booleans true/false, unset values null.
//   csv     RFC 4180: header row of exact field names, CRLF line ends, fields
//           quoted when they hold a comma, quote, CR or LF.
//   xml     <output> holding the value; see render_xml.cc for the shape.
// A bool or other plain result prints just its value in every format ("true"
// for an action); no result prints nothing. Units appear in the table header,
// after simple values and as an XML attribute; JSON and CSV carry the bare
// numbers. Invalid UTF-8 is replaced by U+FFFD everywhere.
#ifndef FRAMEWORK_RENDER_H_
#define FRAMEWORK_RENDER_H_

#include <memory>
#include <string>
#include <vector>

#include "cordra/meta_obj.h"
#include "framework/output_model.h"
#include "framework/text_sink.h"

namespace Cordra {
namespace Frame {

struct RenderOptions {
  std::string format = "table";     // one of FormatNames()
  std::vector<std::string> fields;  // --fields: select and order; empty for all
  bool no_header = false;           // --no-header: table and csv only
};

// "table", "simple", "json", "csv", "xml".
const std::vector<std::string>& FormatNames();

// The text for `result` (null: ""). Throws UsageError for an unknown format
// or a selected field the result does not have; nothing is written then.
std::string Render(const std::shared_ptr<MetaObj::MetaObj>& result, const OutputHints& hints,
                   const RenderOptions& options);
// The same text, written to `out` as it is made.
void Render(const std::shared_ptr<MetaObj::MetaObj>& result, const OutputHints& hints,
            const RenderOptions& options, TextSink* out);

// The renderers behind Render, on an already built model; each appends its
// text to `out`, committing it record by record.
void RenderTable(const OutputModel& model, bool no_header, TextSink* out);
void RenderSimple(const OutputModel& model, TextSink* out);
void RenderJson(const OutputModel& model, TextSink* out);
void RenderCsv(const OutputModel& model, bool no_header, TextSink* out);
void RenderXml(const OutputModel& model, TextSink* out);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_RENDER_H_
