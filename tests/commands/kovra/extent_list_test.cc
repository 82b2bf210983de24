#include "commands/kovra/extent_list.h"

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

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
