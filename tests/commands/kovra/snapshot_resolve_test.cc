#include "commands/kovra/snapshot_mount.h"
#include "commands/kovra/snapshot_resignature.h"
#include "tests/commands/kovra/snapshot_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

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
