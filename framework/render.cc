#include "framework/render.h"

#include "framework/parser.h"

namespace Cordra {
namespace Frame {
namespace {

using Renderer = void (*)(const OutputModel& model, bool no_header, TextSink* out);

// Every format --format accepts, in the order help and errors name them.
const struct {
  const char* name;
  Renderer render;
} kFormats[] = {
    {"table",
     [](const OutputModel& m, bool no_header, TextSink* out) { RenderTable(m, no_header, out); }},
    {"simple", [](const OutputModel& m, bool, TextSink* out) { RenderSimple(m, out); }},
    {"json", [](const OutputModel& m, bool, TextSink* out) { RenderJson(m, out); }},
    {"csv",
     [](const OutputModel& m, bool no_header, TextSink* out) { RenderCsv(m, no_header, out); }},
    {"xml", [](const OutputModel& m, bool, TextSink* out) { RenderXml(m, out); }},
};

}  // namespace

const std::vector<std::string>& FormatNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const auto& format : kFormats) list.push_back(format.name);
    return list;
  }();
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
  for (const auto& format : kFormats) {
    if (options.format == format.name) return format.render(model, options.no_header, out);
  }
  std::string expected;
  for (const auto& format : kFormats)
    expected += (expected.empty() ? "" : ", ") + std::string(format.name);
  throw UsageError("Invalid value '" + options.format +
                   "' for --format: expected one of: " + expected);
}

}  // namespace Frame
}  // namespace Cordra
