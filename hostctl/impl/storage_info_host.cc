// Host-wide storage actions: mounting on the host's own initiative (try,
// rescan, automount) and the two signals the host records.
#include "hostctl/impl/handles.h"
#include "hostctl/rules/snapshots.h"
#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace StrelCtl {
namespace Storage {

using HostCtl::Sim::CheckFault;
using HostCtl::Sim::VolumeQuery;

bool StorageInfoImpl::TryMount(int option, const std::string& uuid, const std::string& label) {
  CheckFault(Op::TryMount, {uuid, label});
  if (uuid.empty() && label.empty()) return false;
  if (option != FileSystem::MOUNT_DEFAULT && option != FileSystem::MOUNT_NO_PERSIST &&
      option != FileSystem::MOUNT_RETRY) {
    return false;
  }
  bool mounted = false;
  HostCtl::Sim::WriteTransaction([&](Db& db) {
    VolumeQuery query;
    query.kind = VolumeQuery::kKovra;
    if (!uuid.empty()) {
      query.uuid = &uuid;
    } else {
      query.name = &label;
    }
    auto found = HostCtl::Sim::LoadVolumes(db, query);
    if (found.empty()) return;
    VolumeRecord& v = found.front();
    // Both given must name the same volume.
    if (!uuid.empty() && !label.empty() && v.name != label) return;
    if (v.mounted || !HostCtl::Sim::MountProblem(db, v).empty()) return;
    HostCtl::Sim::ApplyMount(db, v, option);
    mounted = true;
  });
  return mounted;
}

void StorageInfoImpl::RescanKovra() {
  CheckFault(Op::RescanKovra);
  HostCtl::Sim::WriteTransaction([](Db& db) {
    VolumeQuery query;
    query.kind = VolumeQuery::kKovra;
    query.include_undiscovered = true;
    for (VolumeRecord& v : HostCtl::Sim::LoadVolumes(db, query)) {
      if (v.discovered || HostCtl::Sim::IsSnapshotVolume(db, v.id)) continue;
      bool attached = true;
      for (const auto& extent : HostCtl::Sim::VolumeExtents(db, v)) {
        attached = attached && extent->attached;
      }
      if (!attached) continue;
      v.discovered = true;
      if (HostCtl::Sim::MountProblem(db, v).empty()) {
        HostCtl::Sim::ApplyMount(db, v, FileSystem::MOUNT_DEFAULT);
      } else {
        HostCtl::Sim::SaveVolume(db, v);
      }
    }
  });
}

void StorageInfoImpl::AutoFullMountVolumes() {
  CheckFault(Op::AutoFullMountVolumes);
  // What can be mounted is mounted and kept; the volumes that cannot are
  // reported together afterwards.
  std::string failures;
  HostCtl::Sim::WriteTransaction([&](Db& db) {
    for (VolumeRecord& v : HostCtl::Sim::LoadVolumes(db, VolumeQuery())) {
      if (v.mounted || !v.persistent) continue;
      std::string problem = HostCtl::Sim::MountProblem(db, v);
      if (problem.empty()) {
        HostCtl::Sim::ApplyMount(db, v, FileSystem::MOUNT_DEFAULT);
      } else {
        failures +=
            (failures.empty() ? "" : "; ") + ("Cannot mount volume '" + v.name + "': " + problem);
      }
    }
  });
  if (!failures.empty()) throw HostCtl::Lib::HostCtlException(failures);
}

void StorageInfoImpl::SignalIORM(bool /*unmounting*/) {
  CheckFault(Op::SignalIORM);
  HostCtl::Sim::WriteTransaction([](Db& db) {
    db.Exec("UPDATE host SET iorm_signals = iorm_signals + 1 WHERE id = " +
            HostCtl::Sim::ThisHost());
  });
}

void StorageInfoImpl::RestorePsaConfig() {
  CheckFault(Op::RestorePsaConfig);
  HostCtl::Sim::WriteTransaction([](Db& db) {
    db.Exec("UPDATE host SET psa_restores = psa_restores + 1 WHERE id = " +
            HostCtl::Sim::ThisHost());
  });
}

}  // namespace Storage
}  // namespace StrelCtl
