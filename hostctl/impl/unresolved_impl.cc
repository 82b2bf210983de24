// Unresolved snapshots and replicas: what the host says about resolving
// them, and the two ways to resolve one (mount with its UUID kept, or
// resignature).
#include <set>

#include "hostctl/impl/handles.h"
#include "hostctl/impl/host_objects.h"
#include "hostctl/rules/heartbeats.h"
#include "hostctl/rules/snapshots.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/snapshot_rows.h"
#include "hostctl/store/sqlite_db.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::CheckFault;
using HostCtl::Sim::SnapshotExtentRecord;
using HostCtl::Sim::SnapshotRecord;
using HostCtl::Storage::ResolveReason;

namespace {

constexpr ResolveReason kDuplicateExtents = 1;
constexpr ResolveReason kExtentsMissing = 2;

int64_t HostId() { return HostCtl::Sim::Session::Get().HostId(); }

std::string ReasonText(ResolveReason reason) {
  // Twin of the command's list (commands/kovra/snapshot_selection.cc): each side owns its texts.
  static const char* const kTexts[] = {"ok",
                                       "duplicate extents found",
                                       "some extents missing",
                                       "extra extents found",
                                       "failed to check for existing active volumes",
                                       "the volume is being actively used",
                                       "the original volume is still online",
                                       "the original volume has some extents online"};
  return reason < 8 ? kTexts[reason] : "unknown error";
}

// What stops any resolution: an extent the host did not find, or one found twice.
ResolveReason ExtentReason(const SnapshotRecord& s) {
  std::set<std::pair<std::string, unsigned int>> seen;
  for (const auto& extent : s.extents) {
    if (!extent || !extent->attached) return kExtentsMissing;
    if (!seen.emplace(extent->device, extent->partition).second) return kDuplicateExtents;
  }
  return 0;
}

ResolveReason MountReason(Db& db, const SnapshotRecord& s) {
  if (s.mount_reason) return *s.mount_reason;
  // Two volumes with one UUID cannot be online at once; a snapshot's
  // volume another host uses is for the user to judge.
  if (ResolveReason code = HostCtl::Sim::SnapshotMountConflict(db, s, HostId())) return code;
  return ExtentReason(s);
}

ResolveReason ResignatureReason(Db& db, const SnapshotRecord& s) {
  if (s.resignature_reason) return *s.resignature_reason;
  if (ResolveReason code = HostCtl::Sim::SnapshotResignatureConflict(db, s)) return code;
  return ExtentReason(s);
}

std::string Describe(const SnapshotRecord& s) {
  return "snapshot '" + s.label + "' (" + s.uuid + ")";
}

// The snapshot's current row, inside the caller's transaction.
SnapshotRecord Current(Db& db, const SnapshotRecord& handle) {
  std::shared_ptr<SnapshotRecord> row = HostCtl::Sim::LoadSnapshotById(db, handle.id, HostId());
  if (!row) {
    throw HostCtl::Lib::HostCtlException("The " + Describe(handle) + " is no longer unresolved");
  }
  return *row;
}

// Makes the mounted volume a resolved snapshot becomes.
VolumeRecord InsertVolumeFor(Db& db, const SnapshotRecord& s, const std::string& name,
                             const std::string& uuid, const std::string& lvm_uuid,
                             bool persistent) {
  VolumeRecord v;
  v.type = KovraFileSystem::Kovra_TYPE;
  v.name = name;
  v.uuid = uuid;
  v.mount_point = HostCtl::Sim::VolumePath(uuid);
  v.mounted = true;
  v.persistent = persistent;
  v.capacity = s.capacity;
  v.used = s.used;
  v.version = s.version;
  v.lvm_uuid = lvm_uuid;
  HostCtl::Sim::InsertVolume(db, v);
  // Positions only order the extents, so a gap left by a missing one does no harm.
  for (size_t pos = 0; pos < s.extents.size(); ++pos) {
    const auto& extent = s.extents[pos];
    if (!extent) continue;  // only when a fixture forced the check to pass
    db.Prepare("INSERT INTO extents(volume_id, pos, device_id, partition) VALUES (?, ?, ?, ?)")
        .Bind(1, v.id)
        .Bind(2, static_cast<int64_t>(pos))
        .Bind(3, HostCtl::Sim::DeviceId(db, extent->device))
        .Bind(4, int64_t{extent->partition})
        .Run();
  }
  HostCtl::Sim::TakeSlot(db, v);
  return v;
}

// A snapshot of another implementation class: commands narrow to
// UnresolvedKovraVolumeImpl and pass this one over.
class ForeignUnresolvedVolume : public UnresolvedKovraVolume {
 public:
  explicit ForeignUnresolvedVolume(std::shared_ptr<SnapshotRecord> record) : impl_(record) {}
  ~ForeignUnresolvedVolume() override;
  std::string GetLvmUuid() override { return impl_.GetLvmUuid(); }
  std::string GetUuid() override { return impl_.GetUuid(); }
  std::string GetVolumeName() override { return impl_.GetVolumeName(); }
  std::vector<std::unique_ptr<UnresolvedKovraExtent>> GetExtents() override {
    return impl_.GetExtents();
  }
  bool CanResolve(bool resignature, bool mount, ResolveReason* reason) override {
    return impl_.CanResolve(resignature, mount, reason);
  }
  std::unique_ptr<HostCtl::Lib::HostCtlObject> Resignature() override {
    return impl_.Resignature();
  }
  std::unique_ptr<HostCtl::Lib::HostCtlObject> Mount(bool force, bool persistent) override {
    return impl_.Mount(force, persistent);
  }

 private:
  UnresolvedKovraVolumeImpl impl_;
};

ForeignUnresolvedVolume::~ForeignUnresolvedVolume() = default;

}  // namespace

UnresolvedKovraExtentImpl::UnresolvedKovraExtentImpl(std::shared_ptr<SnapshotExtentRecord> record)
    : record_(std::move(record)) {}

std::string UnresolvedKovraExtentImpl::GetDeviceName() {
  CheckFault(Op::GetDeviceName, {record_->device});
  return record_->device;
}

unsigned int UnresolvedKovraExtentImpl::GetPartitionNumber() {
  CheckFault(Op::GetPartitionNumber, {record_->device});
  return record_->partition;
}

int64_t UnresolvedKovraExtentImpl::GetStart() {
  CheckFault(Op::GetStart, {record_->device});
  return record_->start;
}

int64_t UnresolvedKovraExtentImpl::GetEnd() {
  CheckFault(Op::GetEnd, {record_->device});
  return record_->end;
}

UnresolvedKovraVolumeImpl::UnresolvedKovraVolumeImpl(std::shared_ptr<SnapshotRecord> record)
    : record_(std::move(record)) {}

std::string UnresolvedKovraVolumeImpl::GetLvmUuid() {
  CheckFault(Op::GetLvmUuid, {record_->label, record_->uuid});
  return record_->lvm_uuid;
}

std::string UnresolvedKovraVolumeImpl::GetUuid() {
  CheckFault(Op::GetUuid, {record_->label, record_->uuid});
  return record_->uuid;
}

std::string UnresolvedKovraVolumeImpl::GetVolumeName() {
  CheckFault(Op::GetVolumeName, {record_->label, record_->uuid});
  return record_->label;
}

std::vector<std::unique_ptr<UnresolvedKovraExtent>> UnresolvedKovraVolumeImpl::GetExtents() {
  CheckFault(Op::GetExtents, {record_->label, record_->uuid});
  std::vector<std::unique_ptr<UnresolvedKovraExtent>> extents;
  for (const auto& extent : record_->extents) {
    if (extent) {
      extents.push_back(std::make_unique<UnresolvedKovraExtentImpl>(extent));
    } else {
      extents.push_back(nullptr);
    }
  }
  return extents;
}

bool UnresolvedKovraVolumeImpl::CanResolve(bool resignature, bool mount, ResolveReason* reason) {
  CheckFault(Op::CanResolve, {record_->label, record_->uuid});
  Db& db = HostCtl::Sim::Session::Get().db();
  ResolveReason code = 0;
  if (mount) code = MountReason(db, *record_);
  // Neither flag asks whether a resignature can proceed now.
  if (code == 0 && (resignature || !mount)) code = ResignatureReason(db, *record_);
  if (reason) *reason = code;
  return code == 0;
}

std::unique_ptr<HostCtl::Lib::HostCtlObject> UnresolvedKovraVolumeImpl::Mount(bool force,
                                                                              bool persistent) {
  CheckFault(Op::Mount, {record_->label, record_->uuid});
  VolumeRecord volume;
  HostCtl::Sim::WriteTransaction([&](Db& db) {
    SnapshotRecord s = Current(db, *record_);
    ResolveReason code = MountReason(db, s);
    // `force` overrules the checks a user may judge (whether the volume is
    // in use), never a missing extent or an original that is online.
    bool overruled = force && (code == 4 || code == 5);
    if (code != 0 && !overruled) {
      throw HostCtl::Lib::HostCtlException("Cannot mount " + Describe(s) + ": " + ReasonText(code));
    }
    // The snapshot's volume another host made: this host mounts it too.
    if (s.mounted_as) {
      volume = *HostCtl::Sim::LoadVolumeById(db, s.mounted_as);
      volume.discovered = true;
      HostCtl::Sim::ApplyMount(db, volume, persistent ? 0 : 1);
      return;
    }
    if (HostCtl::Sim::VolumeNameTaken(db, s.label)) {
      throw HostCtl::Lib::HostCtlException("Cannot mount " + Describe(s) + ": a volume named '" +
                                           s.label + "' already exists");
    }
    // The snapshot stays, for the other hosts and for a restart.
    volume = InsertVolumeFor(db, s, s.label, s.uuid, s.lvm_uuid, persistent);
    HostCtl::Sim::MarkSnapshotMounted(db, s.id, volume.id);
  });
  return HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(
      *HostCtl::Sim::VolumeSet::Of(std::move(volume)), 0);
}

std::unique_ptr<HostCtl::Lib::HostCtlObject> UnresolvedKovraVolumeImpl::Resignature() {
  CheckFault(Op::Resignature, {record_->label, record_->uuid});
  VolumeRecord volume;
  HostCtl::Sim::WriteTransaction([&](Db& db) {
    SnapshotRecord s = Current(db, *record_);
    if (ResolveReason code = ResignatureReason(db, s)) {
      throw HostCtl::Lib::HostCtlException("Cannot resignature " + Describe(s) + ": " +
                                           ReasonText(code));
    }
    std::string uuid;
    do {
      uuid = HostCtl::Sim::NewKovraUuid();
    } while (HostCtl::Sim::VolumeUuidTaken(db, uuid));
    std::string name;
    do {
      name = "snap-" + HostCtl::Sim::RandomHex(8) + "-" + s.label;
    } while (HostCtl::Sim::VolumeNameTaken(db, name));
    volume = InsertVolumeFor(db, s, name, uuid, HostCtl::Sim::NewKovraUuid(), true);
    // A volume of it that no host holds goes with it.
    if (s.mounted_as) db.Prepare("DELETE FROM volumes WHERE id = ?").Bind(1, s.mounted_as).Run();
    HostCtl::Sim::DeleteSnapshot(db, s.id);
  });
  return HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(
      *HostCtl::Sim::VolumeSet::Of(std::move(volume)), 0);
}

}  // namespace Storage
}  // namespace StrelCtl

namespace HostCtl {
namespace Sim {

std::unique_ptr<Storage::UnresolvedKovraVolume> MakeSnapshotHandle(
    std::shared_ptr<SnapshotRecord> record) {
  if (record->foreign) return std::make_unique<StrelCtl::Storage::ForeignUnresolvedVolume>(record);
  return std::make_unique<StrelCtl::Storage::UnresolvedKovraVolumeImpl>(record);
}

}  // namespace Sim
}  // namespace HostCtl
