#include "commands/kovra/lockmode_set.h"
#include "tests/commands/kovra/admin_fixture.h"

namespace TarvexCli {
namespace Testing {
namespace {

class KovraLockModeSetTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    UseFlags(0);
  }
  // ds1 with `flags`, its one host alive and using `host_mode`; ds3 in Kovra-3.
  void UseFlags(int flags, int host_mode = 0) {
    nlohmann::json volume = KovraVolume("ds1", "5a1b0041-0000-0000-0000-000000000041", 5, flags);
    volume["kovra"]["heartbeats"] = nlohmann::json::array(
        {{{"uuid", "hb-1"}, {"mac", "00:50:56:aa:bb:01"}, {"lock_mode", host_mode}}});
    UseVolumes({volume, KovraVolume("ds3", "5a1b0043-0000-0000-0000-000000000043", 3)});
  }
  int Flags() { return Kovra("ds1")["lock_mode"]; }
  std::shared_ptr<FileSystem::KovraVolumeLockModeSet> command_ =
      FileSystem::KovraVolumeLockModeSet::New();
};

TEST_F(KovraLockModeSetTest, ModeIsCheckedBeforeTheVolume) {
  ExpectRefused(*command_, {"-l", "nope", "-a", "-s"}, "You cannot specify both --ats and --scsi.");
  ExpectRefused(*command_, {"-l", "nope"},
                "The requested lockmode must be specified either by --ats or --scsi.");
  ExpectRefused(*command_, {"-u", "nope", "--ats"},
                "Kovra volume with uuid nope could not be found.");
  EXPECT_EQ(Flags(), 0);
}

// While a host still uses the other mode the host records the change as pending.
TEST_F(KovraLockModeSetTest, SwitchesTheAtsOnlyFlag) {
  ExpectDone(*command_, {"-l", "ds1", "-a"});
  EXPECT_EQ(Flags(), 0x20);
  UseFlags(0x10, 4);
  ExpectDone(*command_, {"-l", "ds1", "--scsi"});
  EXPECT_EQ(Flags(), 0x40);
  UseFlags(0x20, 4);
  ExpectDone(*command_, {"-l", "ds1", "--ats"});
  EXPECT_EQ(Flags(), 0x10);
}

TEST_F(KovraLockModeSetTest, NothingIsWrittenWhenTheModeIsAlreadyThere) {
  for (int flags : {0x10, 0x40}) {
    UseFlags(flags);
    ArmFault("SetLockMode", "ds1", "Unable to write lock mode");  // any write would fail
    ExpectDone(*command_, {"-l", "ds1", flags == 0x10 ? "-a" : "-s"});
    EXPECT_EQ(Flags(), flags);
  }
}

TEST_F(KovraLockModeSetTest, HostFailuresAreReportedUnchanged) {
  ExpectRefused(*command_, {"-l", "ds3", "-a"},
                "Cannot set ATS-only locking on volume 'ds3': ATS on Kovra-3 not supported");
  ArmFault("SetLockMode", "ds1", "Unable to write lock mode");
  ExpectRefused(*command_, {"-l", "ds1", "-a"}, "Unable to write lock mode");
  ArmFault("GetLockMode", "ds1", "Unable to read lock mode");
  ExpectRefused(*command_, {"-l", "ds1", "-s"}, "Unable to read lock mode");
  EXPECT_EQ(Flags(), 0);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
