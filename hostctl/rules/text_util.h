// Small text helpers of the simulated host: UTF-8 checks, base64 for bytes a
// JSON string cannot carry, the escaped form `tarvex-host events` shows, and
// the list of an NFS volume's servers.
#ifndef HOSTCTL_RULES_TEXT_UTIL_H_
#define HOSTCTL_RULES_TEXT_UTIL_H_

#include <optional>
#include <string>
#include <vector>

namespace HostCtl {
namespace Sim {

bool IsValidUtf8(const std::string& text);

std::string Base64Encode(const std::string& bytes);
// Nothing when `text` is not canonical base64.
std::optional<std::string> Base64Decode(const std::string& text);

// `bytes` between double quotes, with \\, \", \n, \r, \t and \xHH for other
// control bytes and bytes that are not valid UTF-8; valid UTF-8 stays as is.
std::string EscapeForDisplay(const std::string& bytes);

// An NFS volume's servers as its row keeps them: joined with commas.
std::string JoinHosts(const std::vector<std::string>& hosts);
std::vector<std::string> SplitHosts(const std::string& text);

// The current time in UTC, e.g. "2026-12-06T03:20:00Z".
std::string UtcTimestamp();

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_TEXT_UTIL_H_
