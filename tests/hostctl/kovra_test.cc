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

// The upgrade itself and its refusal of a Kovra-5 volume show in kovra_admin.t.
TEST_F(KovraTest, UpgradeNeedsAMountedAccessibleKovraVolume) {
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

// Whole iterations of free space show in kovra_admin.t; the host's own
// refusals of what the command checks first are only here.
TEST_F(KovraTest, UnmapRefusesAZeroUnitAndAnUnmountedVolume) {
  KovraFileSystemImpl volume("/kovra/volumes/ssd-fast");
  EXPECT_EQ(HostError([&] { volume.UnmapVolume(0, nullptr); }),
            "Cannot unmap volume 'ssd-fast': the reclaim unit must be greater than zero");
  EXPECT_EQ(
      HostError([] { KovraFileSystemImpl("/kovra/volumes/scratch").UnmapVolume(1, nullptr); }),
      "Cannot unmap volume 'scratch': the volume is not mounted");
}

// When a change completes or waits is in cluster_test.cc and the transcripts.
TEST_F(KovraTest, ALockModeChangeKeepsOtherBitsAndNeedsAtsOnEveryDevice) {
  Volume("datastore2")->SetLockMode(KovraFileSystem::LOCK_ATS_ONLY | 0x1);
  EXPECT_EQ(LockMode("datastore2"), KovraFileSystem::LOCK_ATS_ONLY | 0x1);
  EXPECT_EQ(HostError([] { Volume("archive")->SetLockMode(KovraFileSystem::LOCK_ATS_ONLY); }),
            "Cannot set ATS-only locking on volume 'archive': device "
            "naa.6027a3e1005a2b3c4d5e6f7a8b9c0d11 does not support ATS");
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
