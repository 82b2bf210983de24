// How the framework reads typed values from text: shared by the argument
// parser and CallSpec::Input, so both accept exactly the same spellings.
#ifndef FRAMEWORK_VALUE_TEXT_H_
#define FRAMEWORK_VALUE_TEXT_H_

#include <cstdint>
#include <string>

namespace Cordra {
namespace Frame {

// "true", "1", "yes" or "false", "0", "no", in any case. Returns false and
// leaves *value alone for anything else.
bool ParseBoolText(const std::string& text, bool* value);

// A decimal signed 64-bit integer: an optional '-', then digits only (no
// blanks, no '+', no base prefix). Returns false for anything else and on
// overflow.
bool ParseInt64Text(const std::string& text, int64_t* value);

}  // namespace Frame
}  // namespace Cordra

#endif  // FRAMEWORK_VALUE_TEXT_H_
