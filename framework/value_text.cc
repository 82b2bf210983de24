#include "framework/value_text.h"

#include <cctype>
#include <limits>

namespace Cordra {
namespace Frame {

namespace {

std::string Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

bool ParseBoolText(const std::string& text, bool* value) {
  const std::string word = Lower(text);
  if (word == "true" || word == "1" || word == "yes") {
    *value = true;
    return true;
  }
  if (word == "false" || word == "0" || word == "no") {
    *value = false;
    return true;
  }
  return false;
}

bool ParseInt64Text(const std::string& text, int64_t* value) {
  size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) pos = 1;
  if (pos == text.size()) return false;
  // Accumulate as a negative number: its range is one larger, so the
  // minimum needs no special case.
  const int64_t min = std::numeric_limits<int64_t>::min();
  int64_t acc = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return false;
    const int digit = c - '0';
    if (acc < (min + digit) / 10) return false;
    acc = acc * 10 - digit;
  }
  if (!negative) {
    if (acc == min) return false;
    acc = -acc;
  }
  *value = acc;
  return true;
}

}  // namespace Frame
}  // namespace Cordra
