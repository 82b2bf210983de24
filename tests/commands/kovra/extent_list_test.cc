#include "commands/kovra/extent_list.h"
#include "commands/kovra/snapshot_extent_list.h"
#include "tests/commands/kovra/snapshot_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class KovraExtentListTest : public KovraSnapshotHostTest {
 protected:
  FileSystem::KovraExtentList command_;
};

TEST_F(KovraExtentListTest, ListsEveryExtentNumberedPerVolume) {
  auto output = Run(command_);
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Project(Rows(*output), {"Volume Name", "Kovra UUID", "LVM UUID", "Device Name",
                                    "Partition", "Extent Number"}),
            (std::vector<std::string>{std::string("ds1/") + kDs1Uuid + "/lvm-1/naa.d1a/1/0",
                                      std::string("ds1/") + kDs1Uuid + "/lvm-1/naa.d1b/1/1",
                                      std::string("ds2/") + kDs2Uuid + "/lvm-2/naa.d2/2/0"}));

  Json host = Host();
  host["volumes"] = Json::array();
  UseHost(host);
  output = Run(command_);
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_TRUE(HasResult(*output));
  EXPECT_TRUE(Rows(*output).empty());
}

TEST_F(KovraExtentListTest, FailingVolumeKeepsItsEarlierRowsAndIsReportedUnlessIgnored) {
  const std::string skipped = std::string("Error getting data for filesystem on '/kovra/volumes/") +
                              kDs1Uuid + "': Device gone, skipping.";
  struct Case {
    const char* operation;
    const char* object;
    std::vector<std::string> rows;
  };
  for (const Case& c : std::vector<Case>{{"GetExtents", "ds1", {"ds2/0"}},
                                         {"GetLvmUuid", "ds1", {"ds2/0"}},
                                         {"GetDeviceName", "naa.d1b", {"ds1/0", "ds2/0"}}}) {
    SCOPED_TRACE(c.operation);
    UseSnapshotHost();
    ArmFault(c.operation, c.object, "Device gone");
    auto output = Run(command_);
    EXPECT_EQ(Errors(*output), std::vector<std::string>{skipped});
    EXPECT_EQ(Project(Rows(*output), {"Volume Name", "Extent Number"}), c.rows);
    output = Run(command_, {"--ignore-errors"});
    EXPECT_TRUE(Errors(*output).empty());
    EXPECT_EQ(Project(Rows(*output), {"Volume Name", "Extent Number"}), c.rows);
  }
}

TEST_F(KovraExtentListTest, FailureOutsideOneVolumeLeavesNoResult) {
  ArmFault("GetKovraFileSystemsList", "", "Storage stack not ready");
  auto output = Run(command_, {"-i"});
  EXPECT_EQ(Errors(*output), std::vector<std::string>{"Storage stack not ready"});
  EXPECT_FALSE(HasResult(*output));

  // The mount point is asked for only to report a failing volume.
  UseSnapshotHost();
  ArmFault("GetExtents", "ds1", "Device gone");
  ArmFault("GetMountPoint", "ds1", "No mount point");
  output = Run(command_);
  EXPECT_EQ(Errors(*output), std::vector<std::string>{"No mount point"});
  EXPECT_FALSE(HasResult(*output));
  EXPECT_EQ(Rows(*Run(command_, {"-i"})).size(), 1u);
}

class KovraSnapshotExtentListTest : public KovraSnapshotHostTest {
 protected:
  static std::vector<std::string> Numbered(const Output& output) {
    return Project(Rows(output), {"Volume Name", "Extent Number"});
  }

  FileSystem::KovraSnapshotExtentList command_;
};

TEST_F(KovraSnapshotExtentListTest, ListsExtentsNumberedBySlot) {
  auto output = Run(command_);
  EXPECT_TRUE(Errors(*output).empty());
  const auto rows = Rows(*output);
  EXPECT_EQ(
      Project(rows, {"Volume Name", "Kovra UUID", "LVM UUID", "Extent Number", "Device Name",
                     "Partition", "Start", "End"}),
      (std::vector<std::string>{
          std::string("snap-a/") + kSnapAUuid + "/lvm-a/0/naa.sa0/1/0/1023",
          std::string("snap-a/") + kSnapAUuid + "/lvm-a/1/naa.sa1/4/1024/" + std::to_string(kFar),
          std::string("snap-b/") + kSnapBUuid + "/lvm-b/0/naa.sb0/1/0/99",
          std::string("snap-b/") + kSnapBUuid + "/lvm-b/2/naa.sb2/3/200/299",
          std::string("rep/") + kRepUuid + "/lvm-r1/0/naa.r1/1/0/9",
          std::string("rep/") + kRepUuid + "/lvm-r2/0/naa.r2/1/0/9"}));
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].size(), 8u);
  // The selection is the snapshot list's (see there); here only that it applies.
  EXPECT_EQ(Numbered(*Run(command_, {"-u", kRepUuid})),
            (std::vector<std::string>{"rep/0", "rep/0"}));
}

TEST_F(KovraSnapshotExtentListTest, FailuresKeepTheRowsMadeBeforeThem) {
  struct Case {
    const char* operation;
    const char* object;
    int nth;
    std::vector<std::string> args;
    std::vector<std::string> rows;
  };
  const std::vector<Case> cases = {
      // One extent: the rest of its snapshot is skipped, the others listed.
      {"GetDeviceName", "naa.sb2", 0, {}, {"snap-a/0", "snap-a/1", "snap-b/0", "rep/0", "rep/0"}},
      {"GetStart", "naa.sa0", 0, {}, {"snap-b/0", "snap-b/2", "rep/0", "rep/0"}},
      {"GetLvmUuid", "snap-a", 2, {}, {"snap-a/0", "snap-b/0", "snap-b/2", "rep/0", "rep/0"}},
      // The query, the selection or an extent list: the listing stops. The
      // target names snap-b, which a failure in selecting snap-a hides.
      {"GetUnresolvedVolumes", "", 0, {}, {}},
      {"GetExtents", "snap-b", 0, {}, {"snap-a/0", "snap-a/1"}},
      {"GetUuid", "snap-a", 0, {"-u", kSnapBUuid}, {}},
      {"GetVolumeName", "snap-a", 0, {"-l", "snap-b"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.operation) + " " + c.object);
    UseSnapshotHost();
    ArmFault(c.operation, c.object, "Extent unreadable", c.nth);
    auto output = Run(command_, c.args);
    EXPECT_EQ(Errors(*output), std::vector<std::string>{"Extent unreadable"});
    EXPECT_EQ(Numbered(*output), c.rows);
  }
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
