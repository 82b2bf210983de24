// The host-control library's small shared pieces: constants, StrPrintf, the
// feature table, and the out-of-line destructors that keep every interface
// class's vtable and typeinfo in this library.
#include <cstdarg>
#include <cstdio>
#include <map>

#include "hostctl/hostctl.h"
#include "hostctl/store/session.h"

namespace HostCtl {

const std::string emptyString;

namespace Lib {
HostCtlObject::~HostCtlObject() = default;
HostCtlException::~HostCtlException() = default;
}  // namespace Lib

namespace Misc {

std::string StrPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text;
  if (size > 0) {
    text.resize(static_cast<size_t>(size) + 1);
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(size));
  }
  va_end(args);
  return text;
}

}  // namespace Misc

const uint8_t* FeatureTable::operator[](unsigned number) const {
  // One flag per number, kept at a stable address; each lookup refreshes it
  // from the store, so a flag switched by `tarvex-host feature set` shows at
  // the next lookup.
  static std::map<unsigned, uint8_t> flags;
  Sim::Stmt stmt = Sim::Session::Get().db().Prepare(
      "SELECT enabled FROM features WHERE number = ? AND host_id = " + Sim::ThisHost());
  stmt.Bind(1, int64_t{number});
  uint8_t& flag = flags[number];
  flag = stmt.Step() && stmt.Int(0) != 0 ? 1 : 0;
  return &flag;
}

const FeatureTable FeatureList;

namespace Storage {

const std::string KovraFileSystem::Kovra_TYPE = "Kovra";

const char* const NetworkFileSystem::NFS_AUTH_NONE_STR = "none";
const char* const NetworkFileSystem::NFS_AUTH_SYS_STR = "sys";
const char* const NetworkFileSystem::NFS_AUTH_KRB5_STR = "krb5";
const char* const NetworkFileSystem::NFS_AUTH_KRB5I_STR = "krb5i";
const char* const NetworkFileSystem::NFS_AUTH_KRB5P_STR = "krb5p";
const char* const NetworkFileSystem::NFS_AUTH_UNKNOWN_STR = "unknown";

FileSystem::~FileSystem() = default;
DiskLunPartition::~DiskLunPartition() = default;
KovraFileSystem::~KovraFileSystem() = default;
NetworkFileSystem::~NetworkFileSystem() = default;
UnresolvedKovraExtent::~UnresolvedKovraExtent() = default;
UnresolvedKovraVolume::~UnresolvedKovraVolume() = default;
PBCache::~PBCache() = default;
StorageInfo::~StorageInfo() = default;

}  // namespace Storage

namespace Adv {
AdvancedOption::~AdvancedOption() = default;
AdvancedIntegerOption::~AdvancedIntegerOption() = default;
AdvancedStringOption::~AdvancedStringOption() = default;
AdvancedOptionGroup::~AdvancedOptionGroup() = default;
AdvancedOptions::~AdvancedOptions() = default;
}  // namespace Adv

namespace Hardware {
HeapInfo::~HeapInfo() = default;
MemoryInfo::~MemoryInfo() = default;
HardwareInfo::~HardwareInfo() = default;
}  // namespace Hardware

Host::~Host() = default;

}  // namespace HostCtl
