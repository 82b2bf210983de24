#include "commands/nfs41/nfs41_volume_remove.h"

#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class Nfs41VolumeRemoveTest : public CommandTest {
 protected:
  std::shared_ptr<FileSystem::NFS41VolumeRemove> remove_ = FileSystem::NFS41VolumeRemove::New();
};

TEST_F(Nfs41VolumeRemoveTest, RemovesOnlyNfs41VolumesAndTellsTheAgent) {
  UseHost(NasHost({NasVolume("NFS41", kOddName), NasVolume("NFS", "v3")}));
  auto out = Run(*remove_, {"-v", "v3"});  // asked for as version 4.1: the host refuses
  EXPECT_EQ(Errors(*out).size(), 1u);
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(notifications_, RemovalNotices("v3", true));

  notifications_.clear();
  out = Run(*remove_, {"-v", kOddName});
  EXPECT_TRUE(IsTrue(*out));
  EXPECT_TRUE(Errors(*out).empty());
  EXPECT_EQ(notifications_, RemovalNotices(kOddName, false));
  EXPECT_EQ(Host()["volumes"].size(), 1u);
}

TEST_F(Nfs41VolumeRemoveTest, FailedRemovalIsReportedAndAnnounced) {
  UseHost(NasHost({NasVolume("NFS41", "ds1")}));
  ArmFault("RemoveNetworkFileSystem", "ds1", "Volume is busy");
  auto out = Run(*remove_, {"-v", "ds1"});
  EXPECT_EQ(Errors(*out), Texts{"Volume is busy"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(notifications_, RemovalNotices("ds1", true));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
