// The extent and snapshot commands (extent list, snapshot list, extent list,
// mount, resignature) on one host of Kovra volumes and unresolved snapshots.
#include <initializer_list>
#include <string>
#include <vector>

#include "commands/kovra/extent_list.h"
#include "commands/kovra/snapshot_extent_list.h"
#include "commands/kovra/snapshot_list.h"
#include "commands/kovra/snapshot_mount.h"
#include "commands/kovra/snapshot_resignature.h"
#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {
namespace {

// Kovra volumes: ds1 (two extents, the second with partition number 257) and
// ds2 (one extent). Unresolved snapshots, in host order:
//   snap-a  two extents; can be mounted and resignatured
//   snap-b  three slots, the second empty: both refused, extents missing
//   snap-f  of a foreign implementation class: every command skips it
//   rep     two replicas sharing label and UUID; the host refuses the first
//           a resignature with code 6, the second a mount with code 9
constexpr char kDs1Uuid[] = "5a000000-00000001-0000-027a3eaa0001";
constexpr char kDs2Uuid[] = "5a000000-00000002-0000-027a3eaa0002";
constexpr char kSnapAUuid[] = "5b000000-0000000a-0000-027a3ebb000a";
constexpr char kSnapBUuid[] = "5b000000-0000000b-0000-027a3ebb000b";
constexpr char kRepUuid[] = "5b000000-00000003-0000-027a3ebb0003";
constexpr int64_t kFar = 4398046511104;  // past 32 bits

class KovraSnapshotHostTest : public CommandTest {
 protected:
  using Json = nlohmann::json;

  void SetUp() override {
    CommandTest::SetUp();
    UseSnapshotHost();
  }

  void UseSnapshotHost() {
    Json host = Host();
    host["devices"] = Json::array();
    for (const char* device : {"naa.d1a", "naa.d1b", "naa.d2", "naa.sa0", "naa.sa1", "naa.sb0",
                               "naa.sb2", "naa.sf", "naa.r1", "naa.r2"}) {
      host["devices"].push_back({{"name", device}, {"ats", true}, {"attached", true}});
    }
    host["volumes"] = Json::parse(R"([
      {"type": "Kovra", "name": "ds1", "uuid": "5a000000-00000001-0000-027a3eaa0001",
       "capacity": 107374182400, "used": 1073741824, "kovra": {"version": 5, "lvm_uuid": "lvm-1",
       "extents": [{"device": "naa.d1a", "partition": 1}, {"device": "naa.d1b", "partition": 257}]}},
      {"type": "Kovra", "name": "ds2", "uuid": "5a000000-00000002-0000-027a3eaa0002",
       "capacity": 107374182400, "used": 1073741824, "kovra": {"version": 5, "lvm_uuid": "lvm-2",
       "extents": [{"device": "naa.d2", "partition": 2}]}}])");
    host["snapshots"] = Json::parse(R"([
      {"label": "snap-a", "uuid": "5b000000-0000000a-0000-027a3ebb000a", "lvm_uuid": "lvm-a",
       "extents": [{"device": "naa.sa0", "partition": 1, "start": 0, "end": 1023},
                   {"device": "naa.sa1", "partition": 260, "start": 1024, "end": 4398046511104}]},
      {"label": "snap-b", "uuid": "5b000000-0000000b-0000-027a3ebb000b", "lvm_uuid": "lvm-b",
       "extents": [{"device": "naa.sb0", "partition": 1, "start": 0, "end": 99}, null,
                   {"device": "naa.sb2", "partition": 3, "start": 200, "end": 299}]},
      {"label": "snap-f", "uuid": "5b000000-0000000f-0000-027a3ebb000f", "lvm_uuid": "lvm-f",
       "foreign": true, "extents": [{"device": "naa.sf", "partition": 1, "start": 0, "end": 9}]},
      {"label": "rep", "uuid": "5b000000-00000003-0000-027a3ebb0003", "lvm_uuid": "lvm-r1",
       "resignature_reason": 6,
       "extents": [{"device": "naa.r1", "partition": 1, "start": 0, "end": 9}]},
      {"label": "rep", "uuid": "5b000000-00000003-0000-027a3ebb0003", "lvm_uuid": "lvm-r2",
       "mount_reason": 8, "extents": [{"device": "naa.r2", "partition": 1, "start": 0, "end": 9}]}])");
    host["faults"] = Json::array();
    host["events"] = Json::array();
    UseHost(host);
  }

  // Whether the host still lists the snapshot with that LVM UUID.
  bool Unresolved(const std::string& lvm_uuid) const {
    const Json host = Host();  // the loop must not outlive it
    for (const auto& snapshot : host["snapshots"]) {
      if (snapshot["lvm_uuid"] == lvm_uuid) return true;
    }
    return false;
  }

  // The volumes made from snapshots: all but ds1 and ds2.
  std::vector<Json> MadeVolumes() const {
    std::vector<Json> made;
    const Json host = Host();
    for (const auto& volume : host["volumes"]) {
      if (volume["name"] != "ds1" && volume["name"] != "ds2") made.push_back(volume);
    }
    return made;
  }

  // Each row's `fields` joined by "/", e.g. "ds1/0".
  static std::vector<std::string> Project(const std::vector<Row>& rows,
                                          std::initializer_list<const char*> fields) {
    std::vector<std::string> projected;
    for (const Row& row : rows) {
      std::string text;
      for (const char* field : fields) text += (text.empty() ? "" : "/") + row.at(field);
      projected.push_back(text);
    }
    return projected;
  }
};

TEST_F(KovraSnapshotHostTest, ExtentListListsEveryExtentNumberedPerVolume) {
  FileSystem::KovraExtentList command;
  auto output = Run(command);
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Project(Rows(*output), {"Volume Name", "Kovra UUID", "LVM UUID", "Device Name",
                                    "Partition", "Extent Number"}),
            (std::vector<std::string>{std::string("ds1/") + kDs1Uuid + "/lvm-1/naa.d1a/1/0",
                                      std::string("ds1/") + kDs1Uuid + "/lvm-1/naa.d1b/1/1",
                                      std::string("ds2/") + kDs2Uuid + "/lvm-2/naa.d2/2/0"}));
}

class KovraSnapshotExtentListTest : public KovraSnapshotHostTest {
 protected:
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
  EXPECT_EQ(Project(Rows(*Run(command_, {"-u", kRepUuid})), {"Volume Name", "Extent Number"}),
            (std::vector<std::string>{"rep/0", "rep/0"}));
}

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

// snapshot mount and snapshot resignature, which share their target checks,
// selection and messages.
class KovraSnapshotResolveTest : public KovraSnapshotHostTest {
 protected:
  FileSystem::KovraSnapshotMount mount_;
  FileSystem::KovraSnapshotResignature resignature_;
};

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

using namespace FileSystem;  // the command classes

// Mount and resignature share their target checks, selection and messages:
// each shared path is run through one of them.
const std::vector<Path> kPaths = {
    Case("ExtentListEmpty", New<KovraExtentList>, {}, {}, {}, 0).On([](nlohmann::json& host) {
      host["volumes"] = nlohmann::json::array();
    }),
    // A failing volume keeps its earlier rows and is reported unless ignored.
    Case("ExtentListSkipsAVolume", New<KovraExtentList>, {}, {{"GetDeviceName", "naa.d1b"}},
         {std::string("Error getting data for filesystem on '/kovra/volumes/") + kDs1Uuid +
          "': GetDeviceName failed, skipping."},
         2),
    Case("ExtentListSkipsAVolumeSilently", New<KovraExtentList>, {"--ignore-errors"},
         {{"GetDeviceName", "naa.d1b"}}, {}, 2),
    // A failure outside one volume leaves no result, so does one of the
    // mount point, asked for only to report a failing volume.
    Case("ExtentListFails", New<KovraExtentList>, {"-i"}, {{"GetKovraFileSystemsList"}},
         {"GetKovraFileSystemsList failed"}, kNoResult),
    Case("ExtentListMountPointFails", New<KovraExtentList>, {},
         {{"GetExtents", "ds1"}, {"GetMountPoint", "ds1"}}, {"GetMountPoint failed"}, kNoResult),
    // One extent: the rest of its snapshot is skipped; an extent list: the
    // listing stops. Rows made before stay.
    Case("SnapshotExtentFails", New<KovraSnapshotExtentList>, {}, {{"GetStart", "naa.sa0"}},
         {"GetStart failed"}, 4),
    Case("SnapshotExtentListFails", New<KovraSnapshotExtentList>, {}, {{"GetExtents", "snap-b"}},
         {"GetExtents failed"}, 2),
    // Selection by exact label and UUID, both when both are given; foreign
    // snapshots are skipped.
    Case("ListByUuid", New<KovraSnapshotList>, {"-u", kRepUuid}, {}, {}, 2),
    Case("ListByLabel", New<KovraSnapshotList>, {"-l", "rep"}, {}, {}, 2),
    Case("ListByBoth", New<KovraSnapshotList>, {"-l", "snap-a", "-u", kSnapAUuid}, {}, {}, 1),
    Case("ListByBothApart", New<KovraSnapshotList>, {"-l", "snap-a", "-u", kSnapBUuid}, {}, {}, 0),
    Case("ListByLabelCase", New<KovraSnapshotList>, {"-l", "SNAP-A"}, {}, {}, 0),
    Case("ListForeign", New<KovraSnapshotList>, {"-l", "snap-f"}, {}, {}, 0),
    // A failure stops the listing and keeps the records made before it.
    Case("ListQueryFails", New<KovraSnapshotList>, {}, {{"GetUnresolvedVolumes"}},
         {"GetUnresolvedVolumes failed"}, 0),
    Case("ListRowFails", New<KovraSnapshotList>, {}, {{"CanResolve", "snap-b"}},
         {"CanResolve failed"}, 1),
    // A wrong target never reaches the host.
    Case("ResolveTargetTwice", New<KovraSnapshotMount>, {"-l", "snap-a", "-u", kSnapAUuid}, {},
         {"A target snapshot cannot be specified by both volume label and uuid."}, kNoResult),
    Case("ResolveNoTarget", New<KovraSnapshotResignature>, {}, {},
         {"A target Kovra volume must be specified by either volume label or uuid but not both."},
         kNoResult),
    // Nothing selected is reported with true.
    Case("ResolveNoLabel", New<KovraSnapshotResignature>, {"-l", "SNAP-A"}, {},
         {"No unresolved Kovra snapshots with volume label 'SNAP-A' found."}, kTrue),
    Case("ResolveNoUuid", New<KovraSnapshotMount>, {"-u", "no-such-uuid"}, {},
         {"No unresolved Kovra snapshots with volume UUID 'no-such-uuid' found."}, kTrue),
    // A host failure stops at the failing volume, with true: on every object,
    // the first replica's failure hides the second.
    Case("MountFails", New<KovraSnapshotMount>, {"-l", "rep"}, {{"Mount"}}, {"Mount failed"},
         kTrue),
    // The command never forces a mount: the host's refusal of a volume in use stands.
    Case("MountInUse", New<KovraSnapshotMount>, {"-l", "snap-a"}, {},
         {std::string("Cannot mount snapshot 'snap-a' (") + kSnapAUuid +
          "): the volume is being actively used"},
         kTrue)
        .On([](nlohmann::json& host) { host["snapshots"][0]["mount_reason"] = 5; }),
    Case("ResignatureFails", New<KovraSnapshotResignature>, {"-l", "rep"}, {{"CanResolve"}},
         {"CanResolve failed"}, kTrue),
};

PATH_SUITE(KovraSnapshotPathTest, KovraSnapshotHostTest, kPaths);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
