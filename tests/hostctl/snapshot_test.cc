// Unresolved snapshots: what CanResolve says and why, mounting one with its
// UUID kept (for good or for one boot), resignaturing one.
#include "host_test_support.h"
#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/cluster.h"
#include "hostctl/rules/sim.h"

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

// How many slots the volume has that are alive.
size_t Users(const std::string& volume) { return Volume(volume)->GetUsers(true).size(); }

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

// A restart returns a snapshot mounted for one boot to a snapshot, resolvable
// again, and keeps a resignatured one (the rest of resolving is the commands').
TEST_F(SnapshotTest, ARestartUndoesOnlyAMountForOneBoot) {
  Json host = DefaultHost();
  host["snapshots"][1] = host["snapshots"][0];
  host["snapshots"][1]["label"] = "copy";
  host["snapshots"][1]["uuid"] = "4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f7";
  UseHost(host);
  Snapshot("prod-db")->Mount(false, false);
  auto resignatured = Snapshot("copy")->Resignature();
  std::string made =
      dynamic_cast<HostCtl::Storage::KovraFileSystem&>(*resignatured).GetVolumeName();
  HostCtl::Sim::RestartHost();
  EXPECT_EQ(Volume("prod-db"), nullptr);
  ASSERT_NE(Snapshot("prod-db"), nullptr);
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "yes:0 yes:0");
  EXPECT_TRUE(Volume(made)->IsMounted());
}

// Forcing overrules the checks of use (4, 5), never an original online (6).
TEST_F(SnapshotTest, MountIsRefusedWithTheReason) {
  const char* const reasons[] = {"failed to check for existing active volumes",
                                 "the volume is being actively used",
                                 "the original volume is still online",
                                 "the original volume has some extents online", "unknown error"};
  for (int reason : {4, 5, 6, 7, 8}) {
    Json host = DefaultHost();
    host["snapshots"][0]["mount_reason"] = reason;
    VolumeIn(host, "scratch")["name"] = "prod-db";
    UseHost(host);
    const std::string refused =
        "Cannot mount snapshot 'prod-db' (4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6): ";
    const std::string why = reasons[reason - 4];
    EXPECT_EQ(HostError([] { Snapshot("prod-db")->Mount(false, true); }), refused + why);
    if (reason > 6) continue;  // force is tried against 4 to 6
    EXPECT_EQ(HostError([] { Snapshot("prod-db")->Mount(true, true); }),
              refused + (reason == 6 ? why : "a volume named 'prod-db' already exists"));
  }
}

TEST_F(SnapshotTest, ReplicasSharingAUuidCannotBothBeOnline) {
  Json host = DefaultHost();
  Json replica = host["snapshots"][0];
  replica["extents"][0]["device"] = "naa.6027a3e2001c3a2f9e4d7b8c1a2b3c08";
  host["snapshots"].push_back(replica);
  UseHost(host);
  Snapshot("prod-db", 0)->Mount(false, true);
  ASSERT_NE(Snapshot("prod-db"), nullptr);
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "no:6 yes:0");
  Snapshot("prod-db")->Resignature();
  EXPECT_EQ(Snapshot("prod-db"), nullptr);
}

// The default host as host-a, host-b and host-c, each with every volume
// mounted; `unreachable`: devices host-b does not reach.
void UseCluster(const std::vector<std::string>& unreachable = {}) {
  Json cluster = Json::parse(HostCtl::Sim::DumpFixture(
      HostCtl::Sim::MakeCluster(HostCtl::Sim::LoadFixture(HostCtl::Sim::DefaultHostFixture(), "d"),
                                {"host-a", "host-b", "host-c"})));
  cluster["hosts"][0]["unreachable"] = unreachable;
  UseHost(cluster);
}

// A mount that keeps the signature is each host's own, on one volume of the
// SAN; the other hosts see the snapshot in use while a live host uses it.
TEST_F(SnapshotTest, AMountWithItsSignatureIsEachHostsOwnOnOneVolume) {
  UseCluster();
  using HostCtl::Sim::ChooseHost;
  ChooseHost("host-a");
  Snapshot("prod-db")->Mount(false, false);  // for this boot only
  EXPECT_EQ(Snapshot("prod-db"), nullptr);
  ChooseHost("host-b");
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "no:5 no:5");
  HostCtl::Sim::CrashHost("host-a");
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "yes:0 no:5");  // a down host still holds it
  auto joined = Snapshot("prod-db")->Mount(false, true);
  EXPECT_EQ(dynamic_cast<HostCtl::Storage::KovraFileSystem&>(*joined).GetVolumeName(), "prod-db");
  EXPECT_EQ(Users("prod-db"), 1u);
  // host-a's boot undoes its own mount only; host-b keeps the volume.
  HostCtl::Sim::BootHost("host-a");
  ChooseHost("host-a");
  EXPECT_EQ(Volume("prod-db"), nullptr);
  EXPECT_EQ(Answers(*Snapshot("prod-db")), "no:5 no:5");
  ChooseHost("host-b");
  ASSERT_NE(Volume("prod-db"), nullptr);
  EXPECT_EQ(Volume("prod-db")->GetUsers(false).size(), 1u);  // host-a's slot went
  Volume("prod-db")->Unmount(0);
  // Nobody holds it: a resignature takes the snapshot and its volume.
  ChooseHost("host-c");
  auto made = Snapshot("prod-db")->Resignature();
  ChooseHost("host-b");
  EXPECT_EQ(Volume("prod-db"), nullptr);
  EXPECT_EQ(Snapshot("prod-db"), nullptr);
}

// The original counts while a live host has it mounted; a snapshot is
// listed where its devices are reached.
TEST_F(SnapshotTest, TheClusterDecidesWhetherTheOriginalIsOnline) {
  UseCluster({"naa.6027a3e41b2c3d4e5f60718293a4b5c1"});  // prod-db's device
  using HostCtl::Sim::ChooseHost;
  ChooseHost("host-b");
  EXPECT_EQ(Snapshot("prod-db"), nullptr);
  Volume("datastore1")->Unmount(0);
  ChooseHost("host-c");
  Volume("datastore1")->Unmount(0);
  EXPECT_EQ(Answers(*Snapshot("datastore1")), "no:6 no:2");  // host-a still has it
  HostCtl::Sim::CrashHost("host-a");
  EXPECT_EQ(Answers(*Snapshot("datastore1")), "no:2 no:2");
  EXPECT_NE(Snapshot("prod-db"), nullptr);
}

}  // namespace
}  // namespace HostTest
