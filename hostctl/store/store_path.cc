#include "hostctl/store/store_path.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "hostctl/rules/sim.h"

namespace HostCtl {
namespace Sim {

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
  throw StoreError(path + ": " + reason);
}

}  // namespace

std::string StoreDirectory(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void CheckStorePath(const std::string& path) {
  for (char c : path) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      Fail(path, "a store's path may not hold control characters");
    }
  }
}

void PrepareStoreDirectory(const std::string& path, bool make) {
  const std::string dir = StoreDirectory(path);
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) Fail(path, dir + " is not a directory");
    return;
  }
  if (errno != ENOENT || !make) {
    Fail(path, "the directory " + dir + " does not exist" +
                   (errno == ENOENT ? "" : std::string(": ") + std::strerror(errno)));
  }
  const mode_t mode = path == DefaultStorePath() ? 0700 : 0777;
  for (size_t pos = 1; pos <= dir.size(); ++pos) {
    if (pos != dir.size() && dir[pos] != '/') continue;
    const std::string prefix = dir.substr(0, pos);
    if (mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST) {
      Fail(path, "cannot create the directory " + prefix + ": " + std::strerror(errno));
    }
  }
}

}  // namespace Sim
}  // namespace HostCtl
