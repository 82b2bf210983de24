#include "framework/shell/doc_markup.h"

#include "framework/man_page.h"
#include "framework/shell/markdown.h"

namespace TarvexShell {

namespace {

class Markdown : public DocMarkup {
 public:
  std::string Prose(const std::string& text) const override { return TarvexShell::Prose(text); }
  std::string Code(const std::string& text) const override { return TarvexShell::Code(text); }
  std::string Link(const std::string& name, const std::string& path) const override {
    return "[" + Code(name) + "](#" + Anchor(path) + ")";
  }
  std::string Heading(int level, const std::string& text) const override {
    return std::string(static_cast<size_t>(level), '#') + " " + text + "\n\n";
  }
  std::string Paragraph(const std::string& marked) const override { return marked + "\n\n"; }
  std::string Bullets(const std::vector<Entry>& entries) const override {
    std::string out;
    for (const auto& entry : entries) {
      out += "- " + entry.text + "\n";
      for (const auto& sub : entry.sub) out += "  - " + sub + "\n";
    }
    return out + "\n";
  }
  std::string Numbered(const std::vector<std::string>& entries) const override {
    std::string out;
    for (size_t i = 0; i < entries.size(); ++i) {
      out += std::to_string(i + 1) + ". " + entries[i] + "\n";
    }
    return out + "\n";
  }
};

class Roff : public DocMarkup {
 public:
  std::string Prose(const std::string& text) const override { return TarvexMan::Text(text); }
  std::string Code(const std::string& text) const override { return TarvexMan::Literal(text); }
  std::string Link(const std::string& name, const std::string&) const override {
    return Code(name);
  }
  std::string Heading(int, const std::string& text) const override {
    return ".SS \"" + TarvexMan::Text(text) + "\"\n";
  }
  std::string Paragraph(const std::string& marked) const override {
    return ".PP\n" + marked + "\n";
  }
  std::string Bullets(const std::vector<Entry>& entries) const override {
    std::string out;
    for (const auto& entry : entries) {
      out += ".IP \\(bu 2\n" + entry.text + "\n";
      if (entry.sub.empty()) continue;
      out += ".RS 2\n";
      for (const auto& sub : entry.sub) out += ".IP \\(en 2\n" + sub + "\n";
      out += ".RE\n";
    }
    return out;
  }
  std::string Numbered(const std::vector<std::string>& entries) const override {
    std::string out;
    for (size_t i = 0; i < entries.size(); ++i) {
      out += ".IP " + std::to_string(i + 1) + ". 4\n" + entries[i] + "\n";
    }
    return out;
  }
};

}  // namespace

const DocMarkup& MarkdownMarkup() {
  static const Markdown markup;
  return markup;
}

const DocMarkup& RoffMarkup() {
  static const Roff markup;
  return markup;
}

}  // namespace TarvexShell
