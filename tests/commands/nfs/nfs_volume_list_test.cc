#include "commands/nfs/nfs_volume_list.h"

#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::NFSVolumeList;

class NfsVolumeListTest : public CommandTest {
 protected:
  void UseNasHost(bool strelnic_binding) {
    Json odd = NasVolume("NFS", kOddName, {{"share", "/a b;c"}, {"read_only", true}}, 2);
    odd["mounted"] = false;
    UseHost(NasHost({NasVolume("NFS", "ds1", {{"strelnic", "tvn1"}, {"strelnic_param", "tvn0"}}, 1),
                     NasVolume("NFS41", "v41"), odd, NasVolume("NFS", "hidden", {{"hidden", true}}),
                     NasVolume("NFS", "pe", {{"pe", true}, {"hidden", true}})},
                    strelnic_binding));
  }
};

TEST_F(NfsVolumeListTest, ListsVisibleNfsV3MountsInHostOrder) {
  UseNasHost(false);
  auto list = NFSVolumeList::New();
  auto out = Run(*list);
  EXPECT_TRUE(Errors(*out).empty());
  const auto rows = Rows(*out);
  ASSERT_EQ(Names(rows), (Texts{"ds1", kOddName}));
  EXPECT_EQ(rows[0], (Row{{"Volume Name", "ds1"},
                          {"Host", kServer},
                          {"Share", "/exports/data"},
                          {"Accessible", "true"},
                          {"Mounted", "true"},
                          {"Read-Only", "false"},
                          {"isPE", "false"},
                          {"Hardware Acceleration", "Supported"}}));
  EXPECT_EQ(rows[1].at("Share"), "/a b;c");
  EXPECT_EQ(rows[1].at("Mounted"), "false");
  EXPECT_EQ(rows[1].at("Read-Only"), "true");
  EXPECT_EQ(rows[1].at("Hardware Acceleration"), "Not Supported");

  out = Run(*list, {"--pe-only"});  // hidden or not
  ASSERT_EQ(Names(Rows(*out)), Texts{"pe"});
  EXPECT_EQ(Rows(*out)[0].at("Hardware Acceleration"), "Unknown");
}

TEST_F(NfsVolumeListTest, StrelnicColumnFollowsTheSwitch) {
  UseNasHost(true);
  auto list = NFSVolumeList::New();
  const char* fields =
      "Volume Name,Host,Share,Strelnic,Accessible,Mounted,Read-Only,isPE,Hardware Acceleration";
  EXPECT_EQ(list->GetDefaultOutputParameter("fields:NasMount"), fields);
  auto rows = Rows(*Run(*list));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("Strelnic"), "tvn1");  // the bound interface, not the parameter
  EXPECT_EQ(rows[1].at("Strelnic"), "");

  // Switched off under the same command: only the column list keeps it.
  UseNasHost(false);
  EXPECT_EQ(list->GetDefaultOutputParameter("fields:NasMount"), fields);
  rows = Rows(*Run(*list));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].count("Strelnic"), 0u);
}

TEST_F(NfsVolumeListTest, FailureOfTheNameInTheMessageEndsTheRun) {
  UseNasHost(false);
  // The row fails; its name, asked again for the message, fails too.
  ArmFault("GetShare", "ds1", "Stale file handle");
  ArmFault("GetVolumeName", "ds1", "Volume ds1 vanished", 2);
  auto out = Run(*NFSVolumeList::New());
  EXPECT_EQ(Errors(*out), Texts{"Volume ds1 vanished"});
  EXPECT_FALSE(HasResult(*out));
}

TEST_F(NfsVolumeListTest, EmptyHostGivesAnEmptyList) {
  UseHost(NasHost({NasVolume("NFS41", "v41")}));
  auto out = Run(*NFSVolumeList::New());
  EXPECT_TRUE(HasResult(*out));
  EXPECT_TRUE(Rows(*out).empty());
  EXPECT_TRUE(Errors(*out).empty());
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
