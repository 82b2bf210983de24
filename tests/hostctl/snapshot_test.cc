// Unresolved snapshots: what CanResolve says and why, mounting one with its
// UUID kept (for good or for one boot), resignaturing one.
#include <regex>

#include "host_test_support.h"
#include "hostctl/admin.h"

namespace HostTest {
namespace {

using HostCtl::Storage::ResolveReason;
using HostCtl::Storage::UnresolvedKovraVolume;
using StrelCtl::Storage::StorageInfoImpl;

std::unique_ptr<UnresolvedKovraVolume> Snapshot(const std::string& label, size_t nth = 0) {
  for (auto& s : StorageInfoImpl().GetUnresolvedVolumes()) {
    if (s->GetVolumeName() == label && nth-- == 0) return std::move(s);
  }
  return nullptr;
}

// "mount:reason resignature:reason", the two answers of CanResolve.
std::string Answers(UnresolvedKovraVolume& s) {
  ResolveReason mount = 99;
  ResolveReason resignature = 99;
  bool can_mount = s.CanResolve(false, true, &mount);
  bool can_resignature = s.CanResolve(true, false, &resignature);
  return std::string(can_mount ? "yes" : "no") + ":" + std::to_string(mount) + " " +
         (can_resignature ? "yes" : "no") + ":" + std::to_string(resignature);
}

using SnapshotTest = DefaultHostTest;

TEST_F(SnapshotTest, TheHostsStateDecidesWhetherASnapshotCanBeResolved) {
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "yes:0 yes:0");
  // datastore1's snapshot: the original is online, and an extent is missing.
  EXPECT_EQ(Answers(*Snapshot("datastore1")), "no:6 no:2");
  ResolveReason reason = 99;
  EXPECT_FALSE(Snapshot("datastore1")->CanResolve(false, false, &reason));
  EXPECT_EQ(reason, 2u);
  EXPECT_FALSE(Snapshot("datastore1")->CanResolve(true, true, nullptr));

  Json host = DefaultHost();
  host["snapshots"][0]["mount_reason"] = 5;
  host["snapshots"][0]["resignature_reason"] = 9;
  Json twice = host["snapshots"][0];
  twice["label"] = "twice";
  twice["mount_reason"] = nullptr;
  twice["resignature_reason"] = nullptr;
  twice["extents"].push_back(twice["extents"][0]);
  host["snapshots"].push_back(twice);
  UseHost(host);
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "no:5 no:9");
  EXPECT_EQ(Answers(*Snapshot("twice")), "no:1 no:1");  // one extent listed twice
}

// Mounted for good the snapshot is an ordinary volume; mounted for one boot
// it returns to a snapshot, resolvable again, at a restart.
TEST_F(SnapshotTest, MountMakesAVolumeWithTheSameUuidForGoodOrForOneBoot) {
  for (bool persistent : {true, false}) {
    SCOPED_TRACE(persistent);
    UseHost(DefaultHost());
    auto mounted = Snapshot("prod-db")->Mount(false, persistent);
    auto* volume = dynamic_cast<HostCtl::Storage::KovraFileSystem*>(mounted.get());
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->GetUuid(), "4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6");
    EXPECT_EQ(Snapshot("prod-db"), nullptr);
    EXPECT_TRUE(Volume("prod-db")->IsMounted());
    EXPECT_EQ(Volume("prod-db")->GetExtents().size(), 1u);
    HostCtl::Sim::RestartHost();
    if (persistent) {
      EXPECT_TRUE(Volume("prod-db")->IsMounted());
      EXPECT_EQ(Snapshot("prod-db"), nullptr);
    } else {
      EXPECT_EQ(Volume("prod-db"), nullptr);
      ASSERT_NE(Snapshot("prod-db"), nullptr);
      EXPECT_EQ(Answers(*Snapshot("prod-db")), "yes:0 yes:0");
    }
  }
}

TEST_F(SnapshotTest, MountIsRefusedWithTheReason) {
  EXPECT_EQ(HostError([] { Snapshot("datastore1")->Mount(false, true); }),
            "Cannot mount snapshot 'datastore1' (5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3): the "
            "original volume is still online");
  Json host = DefaultHost();
  host["snapshots"][0]["mount_reason"] = 5;
  VolumeIn(host, "scratch")["name"] = "prod-db";
  UseHost(host);
  EXPECT_EQ(HostError([] { Snapshot("prod-db")->Mount(false, true); }),
            "Cannot mount snapshot 'prod-db' (4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6): the volume "
            "is being actively used");
  EXPECT_EQ(HostError([] { Snapshot("prod-db")->Mount(true, true); }),  // force overrules 5
            "Cannot mount snapshot 'prod-db' (4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6): a volume "
            "named 'prod-db' already exists");
}

TEST_F(SnapshotTest, ReplicasSharingAUuidCannotBothBeOnline) {
  Json host = DefaultHost();
  Json replica = host["snapshots"][0];
  replica["extents"][0]["device"] = "naa.600508b1001c3a2f9e4d7b8c1a2b3c08";
  host["snapshots"].push_back(replica);
  UseHost(host);
  Snapshot("prod-db", 0)->Mount(false, true);
  ASSERT_NE(Snapshot("prod-db"), nullptr);
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "no:6 yes:0");
  Snapshot("prod-db")->Resignature();
  EXPECT_EQ(Snapshot("prod-db"), nullptr);
}

TEST_F(SnapshotTest, ResignatureMakesANewMountedPersistentVolume) {
  auto made = Snapshot("prod-db")->Resignature();
  auto* volume = dynamic_cast<HostCtl::Storage::KovraFileSystem*>(made.get());
  ASSERT_NE(volume, nullptr);
  std::string name = volume->GetVolumeName();
  EXPECT_TRUE(std::regex_match(name, std::regex("snap-[0-9a-f]{8}-prod-db"))) << name;
  EXPECT_TRUE(std::regex_match(volume->GetUuid(),
                               std::regex("[0-9a-f]{8}-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{12}")));
  EXPECT_NE(volume->GetUuid(), "4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6");
  EXPECT_EQ(Snapshot("prod-db"), nullptr);
  HostCtl::Sim::RestartHost();
  EXPECT_TRUE(Volume(name)->IsMounted());
  EXPECT_EQ(HostError([] { Snapshot("datastore1")->Resignature(); }),
            "Cannot resignature snapshot 'datastore1' (5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3): some "
            "extents missing");
}

}  // namespace
}  // namespace HostTest
