#include "commands/kovra/lockmode_list.h"
#include "commands/kovra/lockmode_set.h"
#include "tests/commands/kovra/admin_fixture.h"

namespace TarvexCli {
namespace Testing {
namespace {

nlohmann::json OnlineUpgradeOption(const char* type, const nlohmann::json& value) {
  return {
      {"group", "Kovra3"}, {"name", "EnableOnlineATSUpgrade"}, {"type", type}, {"value", value}};
}

Row LockRow(const std::string& name, const std::string& uuid, const std::string& type,
            const std::string& mode, const std::string& compatible, const std::string& upgrade,
            const std::string& reason = "") {
  return {{"Volume Name", name},
          {"UUID", uuid},
          {"Type", type},
          {"Locking Mode", mode},
          {"ATS Compatible", compatible},
          {"ATS Upgrade Modes", upgrade},
          {"ATS Incompatibility Reason", reason}};
}

class KovraLockModeListTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    nlohmann::json no_ats = KovraVolume("ds-scsi", "uuid-5");
    no_ats["kovra"]["extents"][0]["device"] = kScsiDevice;
    nlohmann::json spanned = KovraVolume("ds-two", "uuid-6");
    spanned["kovra"]["extents"].push_back({{"device", kAtsDevice}, {"partition", 2}});
    UseVolumes({KovraVolume("ds-ats", "uuid-1", 5, 0x10), KovraVolume("ds-up", "uuid-2", 5, 0x20),
                KovraVolume("ds-down", "uuid-3", 6, 0x40), KovraVolume("ds-k3", "uuid-4", 3),
                no_ats, spanned, KovraVolume("ds-one", "uuid-7")});
    UseOption(OnlineUpgradeOption("integer", 1));
  }
  void UseOption(const nlohmann::json& option) {
    nlohmann::json host = Host();
    host["advanced_options"] = nlohmann::json::array({option});
    UseHost(host);
  }
  std::shared_ptr<FileSystem::KovraVolumeLockModeList> command_ =
      FileSystem::KovraVolumeLockModeList::New();
};

TEST_F(KovraLockModeListTest, ListsEveryVolumeWithItsCompatibility) {
  auto output = Run(*command_);
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(
      Rows(*output),
      (std::vector<Row>{
          LockRow("ds-ats", "uuid-1", "Kovra-5", "ATS", "true", "No upgrade needed"),
          LockRow("ds-up", "uuid-2", "Kovra-5", "ATS UPGRADE PENDING", "true", "No upgrade needed"),
          LockRow("ds-down", "uuid-3", "Kovra-6", "ATS DOWNGRADE PENDING", "true",
                  "Online/Offline"),
          LockRow("ds-k3", "uuid-4", "Kovra-3", "ATS+SCSI", "false", "None",
                  "ATS on Kovra-3 not supported"),
          LockRow("ds-scsi", "uuid-5", "Kovra-5", "ATS+SCSI", "false", "None",
                  "Device does not support ATS"),
          LockRow("ds-two", "uuid-6", "Kovra-5", "ATS+SCSI", "true", "Offline"),
          LockRow("ds-one", "uuid-7", "Kovra-5", "ATS+SCSI", "true", "Online/Offline")}));

  UseOption(OnlineUpgradeOption("integer", 0));
  output = Run(*command_, {"-l", "ds-one", "-u", "uuid-3"});
  EXPECT_EQ(Rows(*output),
            (std::vector<Row>{LockRow("ds-one", "uuid-7", "Kovra-5", "ATS+SCSI", "true", "Offline"),
                              LockRow("ds-down", "uuid-3", "Kovra-6", "ATS DOWNGRADE PENDING",
                                      "true", "Offline")}));
}

TEST_F(KovraLockModeListTest, OptionThatCannotBeReadEndsTheCommand) {
  UseOption(OnlineUpgradeOption("string", "1"));
  ExpectRefused(*command_, {},
                "Advanced option 'EnableOnlineATSUpgrade' in group 'Kovra3' is not an integer "
                "option.");
}

TEST_F(KovraLockModeListTest, FailedVolumeIsSkippedWithOrWithoutAMessage) {
  ArmFault("GetAtsSupport", "ds-scsi", "Cannot query device");
  for (bool ignore : {false, true}) {
    Strings args = {"-l", "ds-scsi", "-l", "ds-one"};
    if (ignore) args.push_back("-i");
    auto output = Run(*command_, args);
    EXPECT_EQ(Errors(*output),
              ignore ? Strings{}
                     : Strings{"Error getting data for filesystem on '/kovra/volumes/uuid-5': "
                               "Cannot query device, skipping."});
    EXPECT_EQ(Rows(*output), (std::vector<Row>{LockRow("ds-one", "uuid-7", "Kovra-5", "ATS+SCSI",
                                                       "true", "Online/Offline")}));
  }
}

TEST_F(KovraLockModeListTest, SelectionFailureLeavesNoResultUnlessIgnored) {
  ExpectRefused(*command_, {"-l", "nope", "-u", "uuid-1"},
                "Error fetching Kovra volume with label 'nope'");
  auto output = Run(*command_, {"-l", "nope", "-u", "uuid-1", "-i"});
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Rows(*output), (std::vector<Row>{LockRow("ds-ats", "uuid-1", "Kovra-5", "ATS", "true",
                                                     "No upgrade needed")}));
}

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

TEST_F(KovraLockModeSetTest, ModeIsCheckedBeforeTheVolumeAndRefusalsWriteNothing) {
  ExpectRefused(*command_, {"-l", "nope", "-a", "-s"}, "You cannot specify both --ats and --scsi.");
  ExpectRefused(*command_, {"-l", "nope"},
                "The requested lockmode must be specified either by --ats or --scsi.");
  ExpectRefused(*command_, {"-u", "nope", "--ats"},
                "Kovra volume with uuid nope could not be found.");
  ExpectRefused(*command_, {"-l", "ds3", "-a"},
                "Cannot set ATS-only locking on volume 'ds3': ATS on Kovra-3 not supported");
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

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
