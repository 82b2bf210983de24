#include "commands/nfs/nfs_volume_preunmount.h"

#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class NfsVolumePreunmountTest : public CommandTest {
 protected:
  bool InPreunmount() const { return Volume(kOddName)["nfs"]["preunmount"]; }

  std::shared_ptr<FileSystem::NFSVolumePreunmountEnter> enter_ =
      FileSystem::NFSVolumePreunmountEnter::New();
  std::shared_ptr<FileSystem::NFSVolumePreunmountExit> exit_ =
      FileSystem::NFSVolumePreunmountExit::New();
};

TEST_F(NfsVolumePreunmountTest, EntersAndExits) {
  UseHost(NasHost({NasVolume("NFS", kOddName)}, false, true));
  EXPECT_TRUE(IsTrue(*Run(*enter_, {"-v", kOddName})));
  EXPECT_TRUE(InPreunmount());
  EXPECT_TRUE(IsTrue(*Run(*exit_, {"--volume-name", kOddName})));
  EXPECT_FALSE(InPreunmount());
}

TEST_F(NfsVolumePreunmountTest, FailuresNameTheTransitionAndTheVolume) {
  UseHost(NasHost({NasVolume("NFS", kOddName)}, false, true));
  ArmFault("EnterNetworkFileSystemPreUnmount", kOddName, "Volume is not mounted");
  auto out = Run(*enter_, {"-v", kOddName});
  EXPECT_EQ(Errors(*out), Texts{"Preunmount Enter failed for " + std::string(kOddName) +
                                ": Volume is not mounted"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_FALSE(InPreunmount());

  ArmFault("ExitNetworkFileSystemPreUnmount", "", "State unknown");
  out = Run(*exit_, {"-v", "ds9"});
  EXPECT_EQ(Errors(*out), Texts{"Preunmount Exit failed for ds9: State unknown"});
  EXPECT_FALSE(HasResult(*out));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
