#include "framework/render.h"

#include "framework/parser.h"

namespace Cordra {
namespace Frame {

const std::vector<std::string>& FormatNames() {
  static const std::vector<std::string> names{"table", "simple", "json", "csv", "xml"};
  return names;
}

std::string Render(const std::shared_ptr<MetaObj::MetaObj>& result, const OutputHints& hints,
                   const RenderOptions& options) {
  TextSink out;
  Render(result, hints, options, &out);
  return out.Take();
}

void Render(const std::shared_ptr<MetaObj::MetaObj>& result, const OutputHints& hints,
            const RenderOptions& options, TextSink* out) {
  const OutputModel model = BuildOutputModel(result, hints, options.fields);
  if (options.format == "table") return RenderTable(model, options.no_header, out);
  if (options.format == "simple") return RenderSimple(model, out);
  if (options.format == "json") return RenderJson(model, out);
  if (options.format == "csv") return RenderCsv(model, options.no_header, out);
  if (options.format == "xml") return RenderXml(model, out);
  throw UsageError("Invalid value '" + options.format +
                   "' for --format: expected one of: table, simple, json, csv, xml");
}

}  // namespace Frame
}  // namespace Cordra
