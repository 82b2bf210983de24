// What changes a Kovra volume: format upgrade, unmap, locking mode, clustered
// Kadisk support, space-reclamation settings; and the unmount preparation
// every volume has.
#include "hostctl/impl/handles.h"
#include "hostctl/rules/lock_modes.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/sqlite_db.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::Refuse;

namespace {

void RequireMountedAndAccessible(Db& db, VolumeRecord& v, const std::string& action) {
  if (!v.mounted) Refuse(action, "volume", v.name, "the volume is not mounted");
  if (!HostCtl::Sim::VolumeAccessible(db, v)) {
    Refuse(action, "volume", v.name, "the volume is not accessible");
  }
}

}  // namespace

void KovraFileSystemImpl::ConvertToVersion5() {
  CheckVolumeFault(Op::ConvertToVersion5);
  RequireKovra();
  ChangeVolume(Full(), [](Db& db, VolumeRecord& v) {
    RequireMountedAndAccessible(db, v, "upgrade");
    if (v.version != 3) {
      Refuse("upgrade", "volume", v.name,
             "only a Kovra-3 volume can be upgraded to Kovra-5, this one is Kovra-" +
                 std::to_string(v.version));
    }
    v.version = 5;
    HostCtl::Sim::SaveVolume(db, v);
  });
}

void KovraFileSystemImpl::UnmapVolume(unsigned int unit, void* /*progress*/) {
  CheckVolumeFault(Op::UnmapVolume);
  RequireKovra();
  ChangeVolume(Full(), [unit](Db& db, VolumeRecord& v) {
    RequireMountedAndAccessible(db, v, "unmap");
    if (unit == 0) Refuse("unmap", "volume", v.name, "the reclaim unit must be greater than zero");
    // Free space is released in whole iterations of `unit` 1 MiB blocks; the
    // used space does not change, so the volume's free space stays the same.
    int64_t block = static_cast<int64_t>(unit) * 1048576;
    int64_t free_space = v.capacity > v.used ? v.capacity - v.used : 0;
    v.reclaimed += free_space / block * block;
    HostCtl::Sim::SaveVolume(db, v);
  });
}

void KovraFileSystemImpl::SetLockMode(uint32_t flags) {
  CheckVolumeFault(Op::SetLockMode);
  RequireKovra();
  ChangeVolume(Full(),
               [flags](Db& db, VolumeRecord& v) { HostCtl::Sim::ChangeLockMode(db, v, flags); });
}

bool KovraFileSystemImpl::SetClusteredKadiskEnabled(bool enabled) {
  CheckVolumeFault(Op::SetClusteredKadiskEnabled);
  RequireKovra();
  return ChangeVolume(Full(), [enabled](Db& db, VolumeRecord& v) {
    const std::string action = "change clustered Kadisk support on";
    if (!v.mounted) Refuse(action, "volume", v.name, "the volume is not mounted");
    if (v.version < 6) {
      Refuse(action, "volume", v.name,
             "it needs Kovra-6 or later, this volume is Kovra-" + std::to_string(v.version));
    }
    bool changed = v.clustered_kadisk != enabled;
    v.clustered_kadisk = enabled;
    HostCtl::Sim::SaveVolume(db, v);
    return changed;
  });
}

bool KovraFileSystemImpl::PrepareUnmount() {
  CheckVolumeFault(Op::PrepareUnmount);
  if (!set_.Mounted(index_)) {
    Refuse("prepare for unmount", "volume", std::string(set_.Name(index_)),
           "the volume is not mounted");
  }
  // Open handles of a busy volume stay open.
  return !Full().busy;
}

void KovraFileSystemImpl::SetUnmapProperty(HostCtl::Storage::KovraVolumeUnmapProperty property) {
  CheckVolumeFault(Op::SetUnmapProperty);
  RequireKovra();
  ChangeVolume(Full(), [&property](Db& db, VolumeRecord& v) {
    v.unmap = {property.granularity, property.priority, property.bandwidth, property.method,
               property.reserved};
    HostCtl::Sim::SaveVolume(db, v);
  });
}

}  // namespace Storage
}  // namespace StrelCtl
