// storage kovra host list: the hosts using one Kovra volume, as its heartbeat
// records show them, and whether each host's locking mode agrees with the
// volume's.
#ifndef COMMANDS_KOVRA_HOST_LIST_H_
#define COMMANDS_KOVRA_HOST_LIST_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "commands/command_support.h"
#include "hostctl/kovra_file_system.h"

namespace TarvexCli {
namespace FileSystem {

class KovraVolumeHostList : public virtual Command {
 public:
  static std::shared_ptr<KovraVolumeHostList> New();
  KovraVolumeHostList();
  ~KovraVolumeHostList() override;

 protected:
  // The single-volume targeting parameters, then "liveness".
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // A list of "VolumeLockModeInUse" rows.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

  // "ATS-only" when the host's lock mode in use is exactly 4, else "ATS+SCSI".
  static const char* TranslateLockModeInUse(uint8_t lock_mode_in_use);
  // Whether a host's locking mode agrees with the volume's flags, taking a
  // pending upgrade (0x20) or downgrade (0x40) into account. Only the bit 4
  // of the host's mode counts here.
  static const char* TranslateStatus(uint32_t volume_flags, uint8_t lock_mode_in_use);
  // Fills every field of `row` for one host of `volume`.
  void PopulateHostListSpec(const std::shared_ptr<MetaObj::MetaStruct>& row,
                            HostCtl::Storage::KovraFileSystem* volume,
                            const HostCtl::Storage::KovraUserInfo& host);
  // Adds one row per host, in the order given. A host that cannot be shown
  // throws: the caller drops the whole list, so nothing is written to the
  // output here.
  void UpdateList(HostCtl::Storage::KovraFileSystem* volume,
                  const std::vector<HostCtl::Storage::KovraUserInfo>& hosts,
                  const std::shared_ptr<MetaObj::MetaList>& list, const OutputPtr& output);
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_HOST_LIST_H_
