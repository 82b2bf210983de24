// `kovra upgrade` and `kovra unmap`, and the target checks they share.
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

const std::string kOffUuid = "5a1b0012-0000-0000-0000-000000000012";

class KovraUnmapTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    nlohmann::json off = KovraVolume("ds-off", kOffUuid);
    nlohmann::json lost = KovraVolume("ds-lost", "5a1b0013-0000-0000-0000-000000000013");
    off["mounted"] = false;
    lost["accessible"] = false;
    UseVolumes({KovraVolume("ds1", "5a1b0011-0000-0000-0000-000000000011"), off, lost});
  }
  std::shared_ptr<FileSystem::KovraVolumeUnmap> command_ = FileSystem::KovraVolumeUnmap::New();
};

TEST_F(KovraUnmapTest, VolumeChecksComeBeforeTheUnitCheck) {
  ExpectRefused(*command_, {"-l", "ds-off", "-n", "0"}, "Volume(ds-off) is unmounted");
  ExpectRefused(*command_, {"-u", kOffUuid}, "Volume(" + kOffUuid + ") is unmounted");
  ExpectRefused(*command_, {"-l", "ds-lost", "-n", "-5"}, "Volume(ds-lost) is inaccessible");
  ExpectRefused(*command_, {"-l", "ds1", "-n", "0"}, "reclaimUnit must be greater than zero");
  ExpectRefused(*command_, {"-l", "ds1", "-n", "-5"}, "reclaimUnit must be greater than zero");
  EXPECT_EQ(Kovra("ds1")["reclaimed"], 0);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
