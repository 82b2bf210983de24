// `kovra upgrade`, and the target checks it shares with `kovra unmap` (run
// for both commands).
#include <functional>

#include "commands/kovra/volume_unmap.h"
#include "commands/kovra/volume_upgrade.h"
#include "tests/commands/kovra/admin_fixture.h"

namespace TarvexCli {
namespace Testing {
namespace {

const std::string kUuid = "5a1b0001-0000-0000-0000-000000000001";

class PathTargetTest
    : public KovraAdminTest,
      public ::testing::WithParamInterface<std::function<std::shared_ptr<Command>()>> {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    UseVolumes({KovraVolume("ds1", kUuid, 3)});
  }
  std::shared_ptr<Command> command_ = GetParam()();
};

TEST_P(PathTargetTest, ChecksTheTargetInOrder) {
  ExpectRefused(*command_, {"-u", "no-such-uuid"},
                "Cannot find Kovra volume with uuid no-such-uuid");
  ExpectRefused(*command_, {"-l", "ds 9"}, "Cannot find Kovra volume with label ds 9");
  // Armed on every object: the option checks must not reach the host.
  ArmFault("GetKovraFileSystemByUUID", "", "Volume table unreadable");
  ArmFault("GetKovraFileSystemByLabel", "", "Volume table unreadable");
  ExpectRefused(*command_, {"-l", "ds1"}, "Volume table unreadable");
  ExpectRefused(*command_, {"-l", "ds1", "-u", kUuid},
                "You cannot specify both uuid and volume label as target. Please specify only "
                "one of these");
  ExpectRefused(*command_, {}, "A target Kovra volume must be specified either by label or uuid.");
  EXPECT_EQ(Kovra("ds1")["version"], 3);
  EXPECT_EQ(Kovra("ds1")["reclaimed"], 0);
}

TEST_P(PathTargetTest, OpensTheVolumeThroughItsPathAsTyped) {
  ArmFault("KovraFileSystemImpl", "/kovra/volumes/ds1", "Nothing at the label's path");
  ArmFault("KovraFileSystemImpl", "/kovra/volumes/" + kUuid, "Nothing at the uuid's path");
  ExpectRefused(*command_, {"-l", "ds1"}, "Nothing at the label's path");
  ExpectRefused(*command_, {"-u", kUuid}, "Nothing at the uuid's path");
}

INSTANTIATE_TEST_SUITE_P(
    UpgradeAndUnmap, PathTargetTest,
    ::testing::Values(
        [] { return std::shared_ptr<Command>(FileSystem::KovraVolumeUpgrade::New()); },
        [] { return std::shared_ptr<Command>(FileSystem::KovraVolumeUnmap::New()); }),
    [](const ::testing::TestParamInfo<PathTargetTest::ParamType>& info) {
      return info.index == 0 ? "Upgrade" : "Unmap";
    });

class KovraUpgradeTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    MakeHost();
  }
  void MakeHost() {
    UseVolumes({KovraVolume("ds-old", kUuid, 3),
                KovraVolume("ds-new", "5a1b0002-0000-0000-0000-000000000002")});
  }
  std::shared_ptr<FileSystem::KovraVolumeUpgrade> command_ = FileSystem::KovraVolumeUpgrade::New();
};

TEST_F(KovraUpgradeTest, ConvertsAKovra3VolumeNamedByUuidOrLabel) {
  ExpectDone(*command_, {"-u", kUuid});
  EXPECT_EQ(Kovra("ds-old")["version"], 5);
  MakeHost();
  ExpectDone(*command_, {"-l", "ds-old"});
  EXPECT_EQ(Kovra("ds-old")["version"], 5);
}

TEST_F(KovraUpgradeTest, HostFailureIsTheOnlyMessage) {
  ExpectRefused(*command_, {"-l", "ds-new"},
                "Cannot upgrade volume 'ds-new': only a Kovra-3 volume can be upgraded to "
                "Kovra-5, this one is Kovra-5");
  ArmFault("ConvertToVersion5", "ds-old", "Unable to upgrade: device busy");
  ExpectRefused(*command_, {"-l", "ds-old"}, "Unable to upgrade: device busy");
  EXPECT_EQ(Kovra("ds-old")["version"], 3);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
