// Small text helpers of the simulated host: UTF-8 checks, base64 for bytes a
// JSON string cannot carry, and the escaped form `tarvex-host events` shows.
#ifndef HOSTCTL_RULES_TEXT_UTIL_H_
#define HOSTCTL_RULES_TEXT_UTIL_H_

#include <optional>
#include <string>

namespace HostCtl {
namespace Sim {

bool IsValidUtf8(const std::string& text);

std::string Base64Encode(const std::string& bytes);
// Nothing when `text` is not canonical base64.
std::optional<std::string> Base64Decode(const std::string& text);

// `bytes` between double quotes, with \\, \", \n, \r, \t and \xHH for other
// control bytes and bytes that are not valid UTF-8; valid UTF-8 stays as is.
std::string EscapeForDisplay(const std::string& bytes);

// The current time in UTC, e.g. "2026-12-06T03:20:00Z".
std::string UtcTimestamp();

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_TEXT_UTIL_H_
