#include "framework/shell/markdown.h"

#include <algorithm>
#include <cctype>

namespace TarvexShell {

std::string Prose(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '`' || c == '*' || c == '_' || c == '<' || c == '[' || c == ']') {
      out += '\\';
    }
    out += c;
  }
  return out;
}

std::string Code(const std::string& text) {
  size_t longest = 0, run = 0;
  for (char c : text) {
    run = c == '`' ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  const std::string fence(longest + 1, '`');
  const bool pad = !text.empty() && (text.front() == '`' || text.back() == '`');
  return fence + (pad ? " " : "") + text + (pad ? " " : "") + fence;
}

std::string Anchor(const std::string& heading) {
  std::string out;
  for (char c : heading) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '-' || c == '_') out += static_cast<char>(std::tolower(u));
    if (c == ' ') out += '-';
  }
  return out;
}

std::string TidyMarkdown(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
    }
    out += c;
  }
  while (out.size() > 1 && out[out.size() - 2] == '\n') out.pop_back();
  return out;
}

}  // namespace TarvexShell
