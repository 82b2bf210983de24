#include "commands/kovra/snapshot_list.h"
#include "commands/kovra/snapshot_mount.h"
#include "commands/kovra/snapshot_resignature.h"
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

// snapshot mount and snapshot resignature, which share their target checks,
// selection and messages.
class KovraSnapshotResolveTest : public KovraSnapshotHostTest {
 protected:
  FileSystem::KovraSnapshotMount mount_;
  FileSystem::KovraSnapshotResignature resignature_;
};

TEST_F(KovraSnapshotResolveTest, TargetMustBeExactlyOneOfLabelAndUuid) {
  // A fault on the query shows that a wrong target never reaches the host.
  ArmFault("GetUnresolvedVolumes", "", "queried");
  for (Command* command : std::vector<Command*>{&mount_, &resignature_}) {
    auto output = Run(*command, {"-l", "snap-a", "-u", kSnapAUuid});
    EXPECT_EQ(Errors(*output), std::vector<std::string>{"A target snapshot cannot be specified by "
                                                        "both volume label and uuid."});
    EXPECT_FALSE(HasResult(*output));
    output = Run(*command);
    EXPECT_EQ(Errors(*output), std::vector<std::string>{"A target Kovra volume must be specified "
                                                        "by either volume label or uuid but not "
                                                        "both."});
    EXPECT_FALSE(HasResult(*output));
  }
}

TEST_F(KovraSnapshotResolveTest, NothingSelectedIsReportedWithTrue) {
  for (Command* command : std::vector<Command*>{&mount_, &resignature_}) {
    auto output = Run(*command, {"-l", "SNAP-A"});
    EXPECT_EQ(Errors(*output),
              std::vector<std::string>{
                  "No unresolved Kovra snapshots with volume label 'SNAP-A' found."});
    EXPECT_TRUE(IsTrue(*output));
    output = Run(*command, {"-u", "no-such-uuid"});
    EXPECT_EQ(Errors(*output), std::vector<std::string>{"No unresolved Kovra snapshots with volume "
                                                        "UUID 'no-such-uuid' found."});
    EXPECT_TRUE(IsTrue(*output));
  }
  EXPECT_TRUE(MadeVolumes().empty());
  EXPECT_TRUE(Unresolved("lvm-a"));
}

TEST_F(KovraSnapshotResolveTest, MountMakesTheSnapshotAVolumeKeepingItsUuid) {
  auto output = Run(mount_, {"-l", "snap-a"});
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_TRUE(IsTrue(*output));
  Json volume = Volume("snap-a");
  EXPECT_EQ(volume["uuid"], kSnapAUuid);
  EXPECT_EQ(volume["mounted"], true);
  EXPECT_EQ(volume["persistent"], true);
  EXPECT_FALSE(Unresolved("lvm-a"));

  UseSnapshotHost();
  EXPECT_TRUE(IsTrue(*Run(mount_, {"-u", kSnapAUuid, "--no-persist"})));
  EXPECT_EQ(Volume("snap-a")["persistent"], false);
}

TEST_F(KovraSnapshotResolveTest, ResignatureGivesEachMatchANewUuidUnlessRefused) {
  auto output = Run(resignature_, {"-u", kSnapAUuid});
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_TRUE(IsTrue(*output));
  auto made = MadeVolumes();
  ASSERT_EQ(made.size(), 1u);
  EXPECT_NE(made[0]["uuid"], kSnapAUuid);
  EXPECT_EQ(made[0]["mounted"], true);
  EXPECT_FALSE(Unresolved("lvm-a"));

  // The first replica is refused; the second is still resignatured.
  output = Run(resignature_, {"-l", "rep"});
  EXPECT_EQ(Errors(*output),
            std::vector<std::string>{
                "Target snapshot cannot be resignatured: the original volume is still online"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Unresolved("lvm-r1"));
  EXPECT_FALSE(Unresolved("lvm-r2"));
  EXPECT_EQ(MadeVolumes().size(), 2u);
}

TEST_F(KovraSnapshotResolveTest, HostFailureStopsAtTheFailingVolumeWithTrue) {
  struct Case {
    Command* command;
    const char* operation;
    std::vector<std::string> args;
  };
  for (const Case& c : std::vector<Case>{{&mount_, "GetUnresolvedVolumes", {"-l", "snap-a"}},
                                         {&mount_, "GetUuid", {"-u", kSnapAUuid}},
                                         {&mount_, "GetVolumeName", {"-l", "snap-a"}},
                                         {&mount_, "Mount", {"-l", "snap-a"}},
                                         {&resignature_, "GetUnresolvedVolumes", {"-l", "rep"}},
                                         {&resignature_, "GetUuid", {"-u", kRepUuid}},
                                         {&resignature_, "CanResolve", {"-l", "rep"}},
                                         {&resignature_, "Resignature", {"-l", "snap-a"}}}) {
    SCOPED_TRACE(c.operation);
    UseSnapshotHost();
    // Matches every object: the first replica's failure hides the second.
    ArmFault(c.operation, "", "Host busy");
    auto output = Run(*c.command, c.args);
    EXPECT_EQ(Errors(*output), std::vector<std::string>{"Host busy"});
    EXPECT_TRUE(IsTrue(*output));
    EXPECT_TRUE(MadeVolumes().empty());
  }
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
