#include "commands/kovra/snapshot_extent_list.h"

#include "tests/commands/kovra/snapshot_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

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
}

TEST_F(KovraSnapshotExtentListTest, SelectsByExactLabelAndUuid) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> rows;
  };
  for (const Case& c : std::vector<Case>{{{"-l", "snap-b"}, {"snap-b/0", "snap-b/2"}},
                                         {{"-u", kRepUuid}, {"rep/0", "rep/0"}},
                                         {{"-l", "Snap-B"}, {}},
                                         {{"-l", "snap-b", "-u", kSnapAUuid}, {}}}) {
    SCOPED_TRACE(c.args[1]);
    auto output = Run(command_, c.args);
    EXPECT_TRUE(Errors(*output).empty());
    EXPECT_EQ(Numbered(*output), c.rows);
  }
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
