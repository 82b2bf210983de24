// storage kovra lockmode list: for each chosen Kovra volume, its on-disk
// locking mode, whether it could use ATS-only locking, how an upgrade to
// ATS-only could be done and, if it cannot, why.
#ifndef COMMANDS_KOVRA_LOCKMODE_LIST_H_
#define COMMANDS_KOVRA_LOCKMODE_LIST_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "commands/command_support.h"
#include "hostctl/kovra_file_system.h"

namespace TarvexCli {
namespace FileSystem {

class KovraVolumeLockModeList : public virtual Command {
 public:
  static std::shared_ptr<KovraVolumeLockModeList> New();
  KovraVolumeLockModeList();
  ~KovraVolumeLockModeList() override;

 protected:
  // The several-volume targeting parameters.
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // A list of "VolumeLockModeConfiguration" rows.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

  // "ATS", "ATS UPGRADE PENDING", "ATS DOWNGRADE PENDING" or "ATS+SCSI":
  // the first of the flags 0x10, 0x20, 0x40 that is set decides.
  static const char* TranslateLockMode(uint32_t flags);
  // Sets "ATS Compatible", "ATS Upgrade Modes" and "ATS Incompatibility
  // Reason" of `row`. `online_upgrade` is the host's permission to upgrade
  // a volume of at most one extent online.
  void UpdateATSCompatibility(bool online_upgrade, HostCtl::Storage::KovraFileSystem* volume,
                              const std::shared_ptr<MetaObj::MetaStruct>& row);
  // Fills every field of `row` from `volume`.
  void PopulateLockModeQuerySpec(bool online_upgrade,
                                 const std::shared_ptr<MetaObj::MetaStruct>& row,
                                 HostCtl::Storage::KovraFileSystem* volume);
  // Adds one row per volume, in order. A volume that fails is left out, with
  // a message naming its mount point unless `ignore_errors`.
  void UpdateFilesystemList(
      const std::vector<std::unique_ptr<HostCtl::Storage::KovraFileSystem>>& volumes,
      bool ignore_errors, bool online_upgrade, const std::shared_ptr<MetaObj::MetaList>& list,
      const OutputPtr& output);
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_LOCKMODE_LIST_H_
