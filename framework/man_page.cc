#include "framework/man_page.h"

#include <cctype>

namespace TarvexMan {

namespace {

std::string Escaped(const std::string& text, bool minus) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-' && minus) {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

size_t Indent(const std::string& line) {
  const size_t first = line.find_first_not_of(' ');
  return first == std::string::npos ? line.size() : first;
}

// Splits "  TERM  text" at its first run of two blanks; false if it has none.
bool SplitItem(const std::string& line, std::string* term, std::string* text) {
  const size_t start = Indent(line);
  const size_t gap = line.find("  ", start);
  if (start == line.size() || gap == std::string::npos) return false;
  *term = line.substr(start, gap - start);
  *text = line.substr(Indent(line.substr(gap)) + gap);
  return true;
}

std::vector<std::vector<std::string>> Blocks(const std::string& text) {
  std::vector<std::vector<std::string>> blocks(1);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.empty()) {
      if (!blocks.back().empty()) blocks.emplace_back();
    } else {
      blocks.back().push_back(line);
    }
  }
  if (blocks.back().empty()) blocks.pop_back();
  return blocks;
}

std::string Joined(const std::vector<std::string>& lines, size_t from) {
  std::string out;
  for (size_t i = from; i < lines.size(); ++i) {
    out += (out.empty() ? "" : " ") + lines[i].substr(Indent(lines[i]));
  }
  return out;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Whether every line is an item ("TERM  text" at the first line's indent)
// or the continuation of one (indented further).
bool IsItemList(const std::vector<std::string>& lines, size_t from) {
  std::string term, text;
  if (from >= lines.size() || !SplitItem(lines[from], &term, &text)) return false;
  const size_t indent = Indent(lines[from]);
  for (size_t i = from + 1; i < lines.size(); ++i) {
    if (Indent(lines[i]) == indent && !SplitItem(lines[i], &term, &text)) return false;
    if (Indent(lines[i]) < indent) return false;
  }
  return true;
}

}  // namespace

std::string Text(const std::string& text) { return Escaped(text, false); }

std::string Literal(const std::string& text) { return "\\fB" + Escaped(text, true) + "\\fR"; }

ManPage::ManPage(const std::string& name, const std::string& summary, const std::string& source) {
  text_ = ".TH " + Escaped(Upper(name), true) + " 1 \"\" \"" + Text(source) +
          "\" \"User Commands\"\n.ad l\n.SH NAME\n" + Escaped(name, true) + " \\- " +
          Text(summary) + "\n";
}

void ManPage::Section(const std::string& title) { text_ += ".SH \"" + Text(title) + "\"\n"; }

void ManPage::Subsection(const std::string& title) { text_ += ".SS \"" + Text(title) + "\"\n"; }

void ManPage::Paragraph(const std::string& marked) { text_ += ".PP\n" + marked + "\n"; }

void ManPage::Item(const std::string& term, const std::string& marked) {
  text_ += ".TP\n" + term + "\n" + marked + "\n";
}

void ManPage::Example(const std::vector<std::string>& lines) {
  text_ += ".PP\n.EX\n";
  for (const auto& line : lines) text_ += Escaped(line, true) + "\n";
  text_ += ".EE\n";
}

void ManPage::Raw(const std::string& roff) { text_ += roff; }

void ManPage::Items(const std::vector<std::string>& lines, size_t from) {
  std::vector<std::string> item;
  for (size_t i = from; i <= lines.size(); ++i) {
    if (i == lines.size() || Indent(lines[i]) == Indent(lines[from])) {
      std::string term, text;
      if (!item.empty() && SplitItem(item[0], &term, &text)) {
        item[0] = text;
        Item(Literal(term), Text(Joined(item, 0)));
      }
      item.clear();
    }
    if (i < lines.size()) item.push_back(lines[i]);
  }
}

void ManPage::Help(const std::string& help, bool top) {
  for (const auto& block : Blocks(help)) {
    if (block[0].compare(0, 7, "Usage: ") == 0) {
      if (top) Section("SYNOPSIS");
      std::string lines;
      for (const auto& line : block) {
        const std::string usage = line.compare(0, 7, "Usage: ") == 0 ? line.substr(7) : line;
        lines += (lines.empty() ? "" : "\n.br\n") + Text(usage.substr(Indent(usage)));
      }
      Paragraph(lines);
    } else if (block[0].back() == ':' && IsItemList(block, 1)) {
      std::string heading = block[0].substr(0, block[0].size() - 1);
      const size_t open = heading.find(" (");
      const std::string note = open == std::string::npos ? "" : heading.substr(open + 2);
      heading = heading.substr(0, open);
      if (top) {
        Section(Upper(heading));
      } else {
        Paragraph(Text(heading + ":"));
      }
      if (!note.empty()) {
        Paragraph(Text(Upper(note.substr(0, 1)) + note.substr(1, note.size() - 2) + "."));
      }
      Items(block, 1);
    } else if (IsItemList(block, 0)) {
      Items(block, 0);
    } else {
      if (top && !described_) Section("DESCRIPTION");
      described_ = true;
      Paragraph(Text(Joined(block, 0)));
    }
  }
}

}  // namespace TarvexMan
