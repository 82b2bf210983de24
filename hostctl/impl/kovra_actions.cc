// What changes a Kovra volume: format upgrade, unmap, locking mode, clustered
// Kadisk support, space-reclamation settings; and the unmount preparation
// every volume has.
#include "hostctl/impl/handles.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/sqlite_db.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::Refuse;

namespace {

constexpr uint32_t kAtsOnly = KovraFileSystem::LOCK_ATS_ONLY;
constexpr uint32_t kPending =
    KovraFileSystem::LOCK_UPGRADE_PENDING | KovraFileSystem::LOCK_DOWNGRADE_PENDING;
constexpr uint8_t kHostUsesAtsOnly = 4;

// Whether a live host in the volume's heartbeat region uses ATS-only locking
// (`ats_only` true) or does not (false).
bool LiveHostWith(Db& db, const VolumeRecord& v, bool ats_only) {
  HostCtl::Sim::Stmt stmt = db.Prepare(
      "SELECT 1 FROM heartbeats WHERE volume_id = ? AND alive = 1 AND (lock_mode & 4) = ?");
  stmt.Bind(1, v.id).Bind(2, int64_t{ats_only ? kHostUsesAtsOnly : 0});
  return stmt.Step();
}

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
  ChangeVolume(Full(), [flags](Db& db, VolumeRecord& v) {
    bool was_ats_only = v.lock_mode & kAtsOnly;
    bool wants_ats_only = flags & kAtsOnly;
    uint32_t result = flags;
    if (wants_ats_only && !was_ats_only) {
      const std::string action = "set ATS-only locking on";
      if (v.version == 3) Refuse(action, "volume", v.name, "ATS on Kovra-3 not supported");
      for (const auto& extent : HostCtl::Sim::VolumeExtents(db, v)) {
        if (!extent->ats)
          Refuse(action, "volume", v.name, "device " + extent->device + " does not support ATS");
      }
      // The switch completes once every live host has moved; until then the
      // volume records the pending upgrade.
      result = LiveHostWith(db, v, false)
                   ? (flags & ~(kAtsOnly | kPending)) | KovraFileSystem::LOCK_UPGRADE_PENDING
                   : flags & ~kPending;
    } else if (!wants_ats_only && was_ats_only) {
      result = LiveHostWith(db, v, true)
                   ? (flags & ~kPending) | KovraFileSystem::LOCK_DOWNGRADE_PENDING
                   : flags & ~kPending;
    }
    v.lock_mode = result;
    HostCtl::Sim::SaveVolume(db, v);
  });
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
