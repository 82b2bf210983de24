// Kovra volumes: format upgrade, unmap, locking mode, ATS support and
// clustered Kadisk support.
#include "host_test_support.h"

namespace HostTest {
namespace {

using HostCtl::Storage::KovraFileSystem;
using StrelCtl::Storage::KovraFileSystemImpl;

class KovraTest : public DefaultHostTest {
 protected:
  static uint32_t LockMode(const std::string& name) { return Volume(name)->GetLockMode(); }
};

TEST_F(KovraTest, UpgradeTakesAMountedAccessibleKovra3VolumeToKovra5) {
  KovraFileSystemImpl("/kovra/volumes/legacy3").ConvertToVersion5();
  EXPECT_EQ(Volume("legacy3")->GetMajorVersion(), 5u);
  EXPECT_EQ(HostError([] { KovraFileSystemImpl("/kovra/volumes/legacy3").ConvertToVersion5(); }),
            "Cannot upgrade volume 'legacy3': only a Kovra-3 volume can be upgraded to Kovra-5, "
            "this one is Kovra-5");
  EXPECT_EQ(HostError([] { KovraFileSystemImpl("/kovra/volumes/scratch").ConvertToVersion5(); }),
            "Cannot upgrade volume 'scratch': the volume is not mounted");
  EXPECT_EQ(HostError([] { KovraFileSystemImpl("/kovra/volumes/nfs-iso").ConvertToVersion5(); }),
            "Volume 'nfs-iso' is not a Kovra volume (its type is NFS)");
  Json host = DefaultHost();
  host["devices"][3]["attached"] = false;  // legacy3's device
  UseHost(host);
  EXPECT_FALSE(KovraFileSystemImpl("/kovra/volumes/legacy3").IsAccessible());
  EXPECT_EQ(HostError([] { KovraFileSystemImpl("/kovra/volumes/legacy3").ConvertToVersion5(); }),
            "Cannot upgrade volume 'legacy3': the volume is not accessible");
}

TEST_F(KovraTest, UnmapRecordsWholeIterationsOfFreeSpace) {
  // ssd-fast: 256 GiB, 64 GiB used, so 192 GiB free.
  KovraFileSystemImpl volume("/kovra/volumes/ssd-fast");
  volume.UnmapVolume(200, nullptr);  // 200 MiB per iteration: 983 whole iterations
  Json host = CurrentHost();
  EXPECT_EQ(VolumeIn(host, "ssd-fast")["kovra"]["reclaimed"], int64_t{983} * 200 * 1048576);
  EXPECT_EQ(volume.GetUsedSpace(), 68719476736);
  EXPECT_EQ(HostError([&] { volume.UnmapVolume(0, nullptr); }),
            "Cannot unmap volume 'ssd-fast': the reclaim unit must be greater than zero");
  EXPECT_EQ(
      HostError([] { KovraFileSystemImpl("/kovra/volumes/scratch").UnmapVolume(1, nullptr); }),
      "Cannot unmap volume 'scratch': the volume is not mounted");
}

TEST_F(KovraTest, AtsOnlyIsPendingWhileALiveHostHasNotMoved) {
  // datastore2: a live host without ATS-only locking.
  Volume("datastore2")->SetLockMode(KovraFileSystem::LOCK_ATS_ONLY | 0x1);
  EXPECT_EQ(LockMode("datastore2"), KovraFileSystem::LOCK_UPGRADE_PENDING | 0x1);
  // ssd-fast: its only other host is not alive.
  Volume("ssd-fast")
      ->SetLockMode(KovraFileSystem::LOCK_ATS_ONLY | KovraFileSystem::LOCK_UPGRADE_PENDING);
  EXPECT_EQ(LockMode("ssd-fast"), KovraFileSystem::LOCK_ATS_ONLY);
  // datastore1: ATS-only with live ATS-only hosts; going back waits for them.
  Volume("datastore1")->SetLockMode(0);
  EXPECT_EQ(LockMode("datastore1"), KovraFileSystem::LOCK_DOWNGRADE_PENDING);
  Volume("ssd-fast")->SetLockMode(0);
  EXPECT_EQ(LockMode("ssd-fast"), 0u);

  // ATS support follows the devices of a volume's extents.
  EXPECT_EQ(Volume("datastore2")->GetAtsSupport(), 1);
  EXPECT_EQ(Volume("archive")->GetAtsSupport(), 0);
  EXPECT_EQ(HostError([] { Volume("legacy3")->SetLockMode(KovraFileSystem::LOCK_ATS_ONLY); }),
            "Cannot set ATS-only locking on volume 'legacy3': ATS on Kovra-3 not supported");
  EXPECT_EQ(HostError([] { Volume("archive")->SetLockMode(KovraFileSystem::LOCK_ATS_ONLY); }),
            "Cannot set ATS-only locking on volume 'archive': device "
            "naa.6000d310005a2b3c4d5e6f7a8b9c0d11 does not support ATS");
}

TEST_F(KovraTest, ClusteredKadiskNeedsAMountedKovra6Volume) {
  EXPECT_TRUE(Volume("datastore1")->SetClusteredKadiskEnabled(true));
  EXPECT_TRUE(Volume("datastore1")->IsClusteredKadiskEnabled());
  EXPECT_FALSE(Volume("datastore1")->SetClusteredKadiskEnabled(true));  // no change
  EXPECT_EQ(HostError([] { Volume("ssd-fast")->SetClusteredKadiskEnabled(true); }),
            "Cannot change clustered Kadisk support on volume 'ssd-fast': it needs Kovra-6 or "
            "later, this volume is Kovra-5");
  EXPECT_EQ(
      HostError([] { Volume("scratch")->SetClusteredKadiskEnabled(true); }),
      "Cannot change clustered Kadisk support on volume 'scratch': the volume is not mounted");
  EXPECT_FALSE(Volume("ssd-fast")->IsClusteredKadiskEnabled());
}

}  // namespace
}  // namespace HostTest
