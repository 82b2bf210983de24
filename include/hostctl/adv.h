// The host's advanced options: named groups of named settings.
#ifndef HOSTCTL_ADV_H_
#define HOSTCTL_ADV_H_

#include <cstdint>
#include <memory>
#include <string>

#include "hostctl/lib.h"

namespace HostCtl {
namespace Adv {

class AdvancedOption : public virtual Lib::HostCtlObject {
 public:
  ~AdvancedOption() override;
  virtual std::string GetName() = 0;
};

class AdvancedIntegerOption : public AdvancedOption {
 public:
  ~AdvancedIntegerOption() override;
  virtual int64_t GetValue() = 0;
};

class AdvancedStringOption : public AdvancedOption {
 public:
  ~AdvancedStringOption() override;
  virtual std::string GetValue() = 0;
};

class AdvancedOptionGroup : public virtual Lib::HostCtlObject {
 public:
  ~AdvancedOptionGroup() override;
  // Throws when the group has no such option.
  virtual std::unique_ptr<AdvancedOption> GetOption(const std::string& name) = 0;
};

class AdvancedOptions : public virtual Lib::HostCtlObject {
 public:
  ~AdvancedOptions() override;
  // Throws when the host has no such group.
  virtual std::unique_ptr<AdvancedOptionGroup> GetOptionGroup(const std::string& name) = 0;
};

}  // namespace Adv
}  // namespace HostCtl

#endif  // HOSTCTL_ADV_H_
