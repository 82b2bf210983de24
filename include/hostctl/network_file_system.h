// A NAS volume mounted over NFS v3 or v4.1.
#ifndef HOSTCTL_NETWORK_FILE_SYSTEM_H_
#define HOSTCTL_NETWORK_FILE_SYSTEM_H_

#include <cstdint>
#include <string>
#include <vector>

#include "hostctl/file_system.h"

namespace HostCtl {
namespace Storage {

class NetworkFileSystem : public virtual FileSystem {
 public:
  ~NetworkFileSystem() override;
  // A fixed underlying type: a host may report flavours this header does not name.
  enum SecurityType : int {
    SEC_NONE = 0,
    SEC_SYS = 1,
    SEC_KRB5 = 2,
    SEC_KRB5I = 3,
    SEC_KRB5P = 4,
  };
  // The texts of the security flavours, as NFS administrators write them.
  static const char* const NFS_AUTH_NONE_STR;     // "none"
  static const char* const NFS_AUTH_SYS_STR;      // "sys"
  static const char* const NFS_AUTH_KRB5_STR;     // "krb5"
  static const char* const NFS_AUTH_KRB5I_STR;    // "krb5i"
  static const char* const NFS_AUTH_KRB5P_STR;    // "krb5p"
  static const char* const NFS_AUTH_UNKNOWN_STR;  // "unknown"

  // The first server (NFS v3: the only one).
  virtual std::string GetHost() = 0;
  // Every server, in the order given when the volume was added.
  virtual std::vector<std::string> GetHosts() = 0;
  virtual std::string GetShare() = 0;
  // Read-only as actually mounted (a read-write volume on a read-only export
  // mounts read-only).
  virtual bool IsMountReadOnly() = 0;
  // Read-only as configured.
  virtual bool IsReadOnly() = 0;
  virtual void SetReadOnly(bool read_only) = 0;
  virtual bool IsProtocolEndpoint() = 0;
  virtual void SetProtocolEndpoint(bool is_pe) = 0;
  // The network interface the mount is bound to; "" when none.
  virtual std::string GetStrelnic() = 0;
  virtual bool IsAccessible() = 0;
  virtual bool IsHidden() = 0;
  virtual uint32_t GetMaxReadTransferSize() = 0;
  virtual uint32_t GetMaxWriteTransferSize() = 0;
  virtual uint32_t GetMaxQueueDepth() = 0;
  // `persist` keeps the depth over a restart.
  virtual void SetMaxQueueDepth(uint32_t depth, bool persist) = 0;
  // The base answers SEC_NONE; NFS v4.1 volumes override it.
  virtual SecurityType GetSecurityType() { return SEC_NONE; }
  // The interface configured as a volume parameter (used from the next mount).
  virtual std::string GetStrelnicParameter() = 0;
  virtual void SetStrelnic(const std::string& strelnic) = 0;
};

}  // namespace Storage
}  // namespace HostCtl

#endif  // HOSTCTL_NETWORK_FILE_SYSTEM_H_
