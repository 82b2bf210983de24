// Text clean-up shared by the renderers and the usage messages. Strings from
// commands are arbitrary bytes; every output format shows them as valid
// UTF-8 in which each byte that does not begin a well-formed sequence (bad
// lead byte, truncated sequence, overlong form, surrogate, beyond U+10FFFF)
// is replaced by U+FFFD.
#ifndef FRAMEWORK_TEXT_ESCAPE_H_
#define FRAMEWORK_TEXT_ESCAPE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace Cordra {
namespace Frame {

// True when every byte is below 0x80 (such text is valid and needs no
// clean-up).
bool IsAscii(std::string_view text);

// True when every byte is printable ASCII (0x20 to 0x7E): such text shows
// as it is in every one-line format.
bool IsPrintableAscii(std::string_view text);

// True when every byte is ASCII that a JSON string holds as it is: 0x20 to
// 0x7F but for the quote and the backslash.
bool IsPlainJsonText(std::string_view text);

// `text` with every invalid byte replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// For the one-line human formats (table, simple, messages): sanitized, and
// control characters written as "\n", "\r", "\t" or "\xNN", so that one value
// never spans two lines.
std::string DisplayText(std::string_view text);

// Characters (code points) of already valid UTF-8, which is what a terminal
// column count needs for the scripts a host shows.
size_t DisplayWidth(std::string_view utf8);

// For XML element content (attribute = false) or a double- or single-quoted
// attribute value (attribute = true): sanitized, & < > " ' escaped, characters
// XML 1.0 does not allow (controls but tab, newline and carriage return;
// U+FFFE, U+FFFF) replaced by U+FFFD, and carriage returns (plus tabs and
// newlines in attributes) written as character references so they survive
// parsing.
std::string XmlEscape(std::string_view text, bool attribute);

// One CSV field (RFC 4180): sanitized, and quoted with inner quotes doubled
// when it holds a comma, a quote, a carriage return or a newline.
std::string CsvField(std::string_view text);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_TEXT_ESCAPE_H_
