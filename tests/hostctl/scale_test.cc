// A host with 100,000 volumes: listing them, reading every getter and every
// extent costs a fixed number of statements, not one per volume, and few
// bytes a volume. Listings give back their memory.
#include <malloc.h>

#include "host_test_support.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace HostTest {
namespace {

TEST(ScaleTest, ListingAHundredThousandVolumesReadsInBulk) {
  constexpr int kVolumes = 100000;
  HostCtl::Sim::HostModel model;
  model.devices.push_back({"naa.1", true, true});
  model.servers.push_back({"192.0.2.1", true, {"/ro"}, 100, 1});
  for (int i = 0; i < kVolumes; ++i) {
    HostCtl::Sim::VolumeModel v;
    v.volume.name = "v" + std::to_string(i);
    v.volume.uuid = "u" + std::to_string(i);
    v.volume.mount_point = "/kovra/volumes/" + v.volume.uuid;
    if (i % 2) {
      v.volume.type = "Kovra";
      v.extents.push_back({"naa.1", static_cast<unsigned>(i % 255), true, true});
    } else {
      v.volume.type = "NFS";
      v.volume.hosts = {"192.0.2.1"};
      v.volume.share = i % 4 ? "/rw" : "/ro";
    }
    model.volumes.push_back(std::move(v));
  }
  HostCtl::Sim::Session::Get().UseMemory(model);
  HostCtl::Sim::Db& db = HostCtl::Sim::Session::Get().db();

  StrelCtl::Storage::StorageInfoImpl storage;
  int64_t before = db.StatementsRun();
  int64_t free_space = 0;
  int read_only = 0;
  size_t extents = 0;
  // Packed: a fixed summary, the texts (a mount point only where it is not
  // the volume's path) and the handle.
  const size_t heap = mallinfo2().uordblks;
  auto listed = storage.GetFileSystems();
  EXPECT_LE(mallinfo2().uordblks, heap + 120 * kVolumes);
  for (auto& volume : listed) {
    free_space += volume->GetCapacity() - volume->GetUsedSpace();
    volume->GetMountPoint();
    volume->GetUuid();
    volume->IsMounted();
    if (auto* nfs = dynamic_cast<HostCtl::Storage::NetworkFileSystem*>(volume.get())) {
      read_only += nfs->IsMountReadOnly();
      nfs->IsAccessible();
    }
    if (auto* kovra = dynamic_cast<HostCtl::Storage::KovraFileSystem*>(volume.get())) {
      extents += kovra->GetExtents().size();
      kovra->GetAtsSupport();
    }
  }
  for (auto& volume : storage.GetKovraFileSystemsList("")) extents += volume->GetExtents().size();
  EXPECT_EQ(extents, static_cast<size_t>(kVolumes));
  EXPECT_EQ(read_only, kVolumes / 4);
  EXPECT_EQ(free_space, 0);
  // Two queries of volumes and one of the listing's other fields, read once
  // when first asked for; two of extents (one per list), one of servers.
  EXPECT_LE(db.StatementsRun() - before, 6);
  // The handles' block goes with the last of them; what stays are caches.
  listed.clear();
  EXPECT_LE(mallinfo2().uordblks, heap + 20 * kVolumes);
}

}  // namespace
}  // namespace HostTest
