#include "framework/text_escape.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace Cordra {
namespace Frame {

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Byte classes eight bytes at a time, since nearly every string a large
// result holds is plain and only needs the answer "all clear". Each mask has
// the high bit of a byte set when that byte is in the class (exact as to
// whether any byte is; see "determine if a word has a byte less than n").
constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;
uint64_t BytesBelow(uint64_t w, unsigned n) { return (w - kOnes * n) & ~w & kHighs; }
uint64_t BytesEqual(uint64_t w, unsigned char c) { return BytesBelow(w ^ (kOnes * c), 1); }

// True when no byte of `text` is in the class `word_hits` (a mask as above
// for a word) or `byte_hits` (for one byte) says.
template <class WordHits, class ByteHits>
bool NoByteIn(std::string_view text, WordHits word_hits, ByteHits byte_hits) {
  const char* p = text.data();
  size_t left = text.size();
  for (; left >= 8; p += 8, left -= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (word_hits(w)) return false;
  }
  for (; left > 0; ++p, --left) {
    if (byte_hits(static_cast<unsigned char>(*p))) return false;
  }
  return true;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the well-formed sequence at `pos` (and its code point), or 0.
size_t DecodeAt(std::string_view s, size_t pos, uint32_t* cp) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = at(pos);
  const size_t left = s.size() - pos;
  if (lead < 0x80) {
    *cp = lead;
    return 1;
  }
  size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    if (lead == 0xE0) lo = 0xA0;  // overlong
    if (lead == 0xED) hi = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    if (lead == 0xF0) lo = 0x90;  // overlong
    if (lead == 0xF4) hi = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (left < len || at(pos + 1) < lo || at(pos + 1) > hi) return 0;
  uint32_t value = lead & (0xFF >> (len + 1));
  for (size_t i = 1; i < len; ++i) {
    if (!IsContinuation(at(pos + i))) return 0;
    value = (value << 6) | (at(pos + i) & 0x3F);
  }
  *cp = value;
  return len;
}

// A character's bytes inside the text being walked (no copy).
struct Bytes {
  const char* data;
  size_t size;
};

std::string& operator+=(std::string& out, Bytes bytes) {
  return out.append(bytes.data, bytes.size);
}

// Calls emit(code point, bytes) for each character; invalid bytes come as
// U+FFFD.
template <typename Emit>
void ForEachChar(std::string_view s, Emit emit) {
  size_t pos = 0;
  while (pos < s.size()) {
    uint32_t cp = 0;
    const size_t len = DecodeAt(s, pos, &cp);
    if (len == 0) {
      emit(0xFFFDu, Bytes{kReplacement, sizeof kReplacement - 1});
      ++pos;
    } else {
      emit(cp, Bytes{s.data() + pos, len});
      pos += len;
    }
  }
}

std::string Hex2(uint32_t c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(c));
  return buf;
}

}  // namespace

bool IsAscii(std::string_view text) {
  return NoByteIn(
      text, [](uint64_t w) { return w & kHighs; }, [](unsigned char c) { return c >= 0x80; });
}

bool IsPlainJsonText(std::string_view text) {
  return NoByteIn(
      text,
      [](uint64_t w) {
        return (w & kHighs) | BytesBelow(w, 0x20) | BytesEqual(w, '"') | BytesEqual(w, '\\');
      },
      [](unsigned char c) { return c >= 0x80 || c < 0x20 || c == '"' || c == '\\'; });
}

std::string SanitizeUtf8(std::string_view text) {
  if (IsAscii(text)) return std::string(text);  // the common case, already valid
  std::string out;
  ForEachChar(text, [&](uint32_t, Bytes bytes) { out += bytes; });
  return out;
}

bool IsPrintableAscii(std::string_view text) {
  return NoByteIn(
      text, [](uint64_t w) { return (w & kHighs) | BytesBelow(w, 0x20) | BytesEqual(w, 0x7F); },
      [](unsigned char c) { return c < 0x20 || c >= 0x7F; });
}

std::string DisplayText(std::string_view text) {
  if (IsPrintableAscii(text)) return std::string(text);  // the common case
  std::string out;
  ForEachChar(text, [&](uint32_t cp, Bytes bytes) {
    if (cp == '\n') {
      out += "\\n";
    } else if (cp == '\r') {
      out += "\\r";
    } else if (cp == '\t') {
      out += "\\t";
    } else if (cp < 0x20 || cp == 0x7F) {
      out += "\\x" + Hex2(cp);
    } else {
      out += bytes;
    }
  });
  return out;
}

size_t DisplayWidth(std::string_view utf8) {
  size_t width = 0;
  for (char c : utf8) {
    if (!IsContinuation(static_cast<unsigned char>(c))) ++width;
  }
  return width;
}

std::string XmlEscape(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size());
  ForEachChar(text, [&](uint32_t cp, Bytes bytes) {
    switch (cp) {
      case '&':
        out += "&amp;";
        return;
      case '<':
        out += "&lt;";
        return;
      case '>':
        out += "&gt;";
        return;
      case '"':
        out += "&quot;";
        return;
      case '\'':
        out += "&apos;";
        return;
      case '\r':
        out += "&#13;";
        return;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        return;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        return;
      default:
        break;
    }
    if (cp < 0x20 || cp == 0xFFFE || cp == 0xFFFF) {
      out += kReplacement;
    } else {
      out += bytes;
    }
  });
  return out;
}

std::string CsvField(std::string_view text) {
  const std::string clean = SanitizeUtf8(text);
  if (clean.find_first_of(",\"\r\n") == std::string::npos) return clean;
  std::string out = "\"";
  for (char c : clean) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace Frame
}  // namespace Cordra
