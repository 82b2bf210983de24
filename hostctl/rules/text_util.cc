#include "hostctl/rules/text_util.h"

#include <cstdio>
#include <ctime>

namespace HostCtl {
namespace Sim {
namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Length of the valid UTF-8 sequence at `i`, or 0 when there is none.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
  unsigned char c = s[i];
  if (c < 0x80) return 1;
  size_t length;
  unsigned int min;
  unsigned int code;
  if ((c & 0xe0) == 0xc0) {
    length = 2, min = 0x80, code = c & 0x1f;
  } else if ((c & 0xf0) == 0xe0) {
    length = 3, min = 0x800, code = c & 0x0f;
  } else if ((c & 0xf8) == 0xf0) {
    length = 4, min = 0x10000, code = c & 0x07;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    unsigned char next = s[i + k];
    if ((next & 0xc0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3f);
  }
  if (code < min || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
  return length;
}

int Base64Value(char c) {
  for (int i = 0; i < 64; ++i) {
    if (kAlphabet[i] == c) return i;
  }
  return -1;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string Base64Encode(const std::string& bytes) {
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned int n = (static_cast<unsigned char>(bytes[i]) << 16) |
                     (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                     static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += kAlphabet[n & 63];
  }
  size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned int n = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += rest == 2 ? kAlphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::optional<std::string> Base64Decode(const std::string& text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < text.size(); i += 4) {
    int v[4];
    int pad = 0;
    for (int k = 0; k < 4; ++k) {
      char c = text[i + k];
      bool last_group = i + 4 == text.size();
      if (c == '=' && last_group && k >= 2 && (k == 3 || text[i + 3] == '=')) {
        v[k] = 0;
        ++pad;
      } else {
        v[k] = Base64Value(c);
        if (v[k] < 0 || pad > 0) return std::nullopt;
      }
    }
    unsigned int n = (v[0] << 18) | (v[1] << 12) | (v[2] << 6) | v[3];
    out += static_cast<char>((n >> 16) & 0xff);
    if (pad < 2) out += static_cast<char>((n >> 8) & 0xff);
    if (pad < 1) out += static_cast<char>(n & 0xff);
  }
  // Canonical only: one text per byte string, so a round trip is exact.
  if (Base64Encode(out) != text) return std::nullopt;
  return out;
}

std::string EscapeForDisplay(const std::string& bytes) {
  std::string out = "\"";
  for (size_t i = 0; i < bytes.size();) {
    unsigned char c = bytes[i];
    size_t length = Utf8SequenceLength(bytes, i);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7f || length == 0) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
      length = 1;
    } else {
      out.append(bytes, i, length);
    }
    i += length ? length : 1;
  }
  return out + "\"";
}

std::string UtcTimestamp() {
  std::time_t now = std::time(nullptr);
  std::tm utc;
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string JoinHosts(const std::vector<std::string>& hosts) {
  std::string text;
  for (const std::string& host : hosts) text += (text.empty() ? "" : ",") + host;
  return text;
}

std::vector<std::string> SplitHosts(const std::string& text) {
  std::vector<std::string> hosts;
  size_t start = 0;
  while (start < text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    hosts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return hosts;
}

}  // namespace Sim
}  // namespace HostCtl
