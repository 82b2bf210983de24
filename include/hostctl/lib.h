// Base types of the host-control library: its objects, its one failure, the
// feature table and small helpers.
#ifndef HOSTCTL_LIB_H_
#define HOSTCTL_LIB_H_

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace HostCtl {

// The empty filter of the queries that take one ("every object").
extern const std::string emptyString;

namespace Lib {

class HostCtlObject {
 public:
  virtual ~HostCtlObject();  // out of line: vtables and typeinfo live in libhostctl
  HostCtlObject(const HostCtlObject&) = delete;
  HostCtlObject& operator=(const HostCtlObject&) = delete;

 protected:
  HostCtlObject() = default;
};

// Every failure of a host-control operation. The message names the object
// and the reason, and is meant to be shown to the user unchanged.
class HostCtlException : public std::exception {
 public:
  ~HostCtlException() override;
  explicit HostCtlException(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& GetMessage() const { return message_; }

 private:
  std::string message_;
};

}  // namespace Lib

namespace Misc {

// printf-style formatting into a std::string.
std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace Misc

// Numbers of the feature-table entries that storage commands read.
enum FeatureNumber : unsigned {
  FEATURE_NAS_STRELNIC_BINDING = 145,
  FEATURE_NAS_PREUNMOUNT = 284,
};

// The host's feature table. Entry N points at a one-byte flag, non-zero when
// the feature is on. Each lookup reads the host's current state, so callers
// must look the entry up every time they need it instead of keeping it.
// Numbers the host does not know read as off. Throws
// HostCtl::Sim::StoreError (a std::runtime_error) when the host's store
// cannot be used.
class FeatureTable {
 public:
  const uint8_t* operator[](unsigned number) const;
};
extern const FeatureTable FeatureList;

}  // namespace HostCtl

#endif  // HOSTCTL_LIB_H_
