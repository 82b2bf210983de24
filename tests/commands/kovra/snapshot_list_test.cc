#include "commands/kovra/snapshot_list.h"

#include "tests/commands/kovra/snapshot_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class KovraSnapshotListTest : public KovraSnapshotHostTest {
 protected:
  // An empty reason stands for "can".
  static Row Listed(const char* label, const char* uuid, const std::string& mount_reason,
                    const std::string& resignature_reason, int extents) {
    return {{"Volume Name", label},
            {"Kovra UUID", uuid},
            {"Can mount", mount_reason.empty() ? "true" : "false"},
            {"Reason for un-mountability", mount_reason},
            {"Can resignature", resignature_reason.empty() ? "true" : "false"},
            {"Reason for non-resignaturability", resignature_reason},
            {"Unresolved Extent Count", std::to_string(extents)}};
  }

  FileSystem::KovraSnapshotList command_;
};

TEST_F(KovraSnapshotListTest, ListsEachSnapshotWithBothAnswers) {
  auto output = Run(command_);
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Rows(*output),
            (std::vector<Row>{
                Listed("snap-a", kSnapAUuid, "", "", 2),
                Listed("snap-b", kSnapBUuid, "some extents missing", "some extents missing", 3),
                Listed("rep", kRepUuid, "", "the original volume is still online", 1),
                Listed("rep", kRepUuid, "unknown error", "", 1)}));
}

TEST_F(KovraSnapshotListTest, SelectsByExactLabelAndUuid) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> labels;
  };
  for (const Case& c : std::vector<Case>{{{"-u", kRepUuid}, {"rep", "rep"}},
                                         {{"-l", "rep"}, {"rep", "rep"}},
                                         {{"-l", "snap-a", "-u", kSnapAUuid}, {"snap-a"}},
                                         {{"-l", "snap-a", "-u", kSnapBUuid}, {}},
                                         {{"-l", "SNAP-A"}, {}},
                                         {{"-l", "snap-f"}, {}}}) {
    SCOPED_TRACE(c.args[1]);
    auto output = Run(command_, c.args);
    EXPECT_TRUE(Errors(*output).empty());
    EXPECT_EQ(Project(Rows(*output), {"Volume Name"}), c.labels);
  }
}

TEST_F(KovraSnapshotListTest, FailureStopsListingAndKeepsEarlierRecords) {
  struct Case {
    const char* operation;
    const char* object;
    std::vector<std::string> args;
    std::vector<std::string> labels;
  };
  for (const Case& c : std::vector<Case>{{"GetUnresolvedVolumes", "", {}, {}},
                                         {"GetUuid", "snap-b", {"-u", kSnapAUuid}, {"snap-a"}},
                                         {"GetVolumeName", "snap-b", {"-l", "snap-a"}, {"snap-a"}},
                                         {"GetVolumeName", "snap-b", {}, {"snap-a"}},
                                         {"CanResolve", "snap-b", {}, {"snap-a"}},
                                         {"GetExtents", "rep", {}, {"snap-a", "snap-b"}}}) {
    SCOPED_TRACE(std::string(c.operation) + " " + std::to_string(c.args.size()));
    UseSnapshotHost();
    ArmFault(c.operation, c.object, "Snapshot unreadable");
    auto output = Run(command_, c.args);
    EXPECT_EQ(Errors(*output), std::vector<std::string>{"Snapshot unreadable"});
    EXPECT_EQ(Project(Rows(*output), {"Volume Name"}), c.labels);
  }
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
