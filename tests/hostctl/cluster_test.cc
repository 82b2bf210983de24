// Several hosts in one store: what each host sees of the SAN and of its
// own, heartbeat slots that follow each host's mounts, crash and boot,
// adding and removing hosts, and a cluster's fixture.
#include <algorithm>

#include "host_test_support.h"
#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/cluster.h"
#include "hostctl/rules/devices.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/session.h"

namespace HostTest {
namespace {

using HostCtl::Sim::ChooseHost;
using StrelCtl::Storage::StorageInfoImpl;

const char kMacB[] = "02:7a:3e:10:00:01";

Json Cluster(const std::vector<std::string>& names) {
  return Json::parse(HostCtl::Sim::DumpFixture(HostCtl::Sim::MakeCluster(
      HostCtl::Sim::LoadFixture(HostCtl::Sim::DefaultHostFixture(), "d"), names)));
}

// "MAC@offset" of each slot on the volume, alive ones only with `quick`.
std::vector<std::string> Slots(const std::string& volume, bool quick = false) {
  std::vector<std::string> slots;
  for (const auto& user : Volume(volume)->GetUsers(quick)) {
    slots.push_back(user.macAddress.GetStringAddress() + "@" +
                    std::to_string(user.heartbeatOffset));
  }
  return slots;
}

bool HasSlotOf(const std::string& volume, const std::string& mac, bool quick = false) {
  auto slots = Slots(volume, quick);
  return std::any_of(slots.begin(), slots.end(),
                     [&](const std::string& s) { return s.rfind(mac, 0) == 0; });
}

// The mode of `mac`'s slot on the volume (4: ATS-only), -1 without one.
int SlotMode(const std::string& volume, const std::string& mac) {
  for (const auto& user : Volume(volume)->GetUsers(false)) {
    if (user.macAddress.GetStringAddress() == mac) return user.lockModeInUse;
  }
  return -1;
}

class ClusterTest : public ::testing::Test {
 protected:
  void SetUp() override { UseHost(Cluster({"host-a", "host-b", "host-c"})); }
};

TEST_F(ClusterTest, EachHostGetsASlotOfItsOwnAndGivesItBackWhenItUnmounts) {
  ChooseHost("host-a");
  EXPECT_EQ(Slots("datastore1"),
            (std::vector<std::string>{"02:7a:3e:a1:b2:c3@3145728", "02:7a:3e:5b:c8:d9@3149824",
                                      "02:7a:3e:10:00:01@3153920", "02:7a:3e:10:00:02@3158016"}));
  ChooseHost("host-b");
  EXPECT_EQ(Volume("datastore1")->Unmount(0), 0);
  EXPECT_FALSE(HasSlotOf("datastore1", kMacB));
  // The others still have it mounted, and see the same slots.
  ChooseHost("host-c");
  EXPECT_TRUE(Volume("datastore1")->IsMounted());
  EXPECT_EQ(Slots("datastore1").size(), 3u);
  // A mount takes the lowest free offset again.
  ChooseHost("host-b");
  Volume("datastore1")->Mount(0);
  EXPECT_EQ(Slots("datastore1").back(), "02:7a:3e:10:00:01@3153920");
}

TEST_F(ClusterTest, AHostSeesTheSansVolumesAndItsOwnNasVolumesOnly) {
  ChooseHost("host-a");
  StorageInfoImpl storage;
  storage.AddNetworkFileSystem("192.0.2.10", "/a", "only-a", false, "", 0);
  EXPECT_NE(Nas("only-a"), nullptr);
  EXPECT_EQ(HostError([&] {
              storage.AddNetworkFileSystem("192.0.2.10", "/d", "datastore1", false, "", 0);
            }),
            "Cannot add NFS volume 'datastore1': the name is already used by another volume");
  ChooseHost("host-b");
  EXPECT_EQ(Nas("only-a"), nullptr);
  storage.AddNetworkFileSystem("192.0.2.10", "/b", "only-a", false, "", 0);
  // A fault armed on one host fires there only (faults are read once per
  // process and host).
  HostCtl::Sim::AddFault({0, "GetCapacity", "datastore1", "boom", 0, 0, 0, 0});
  ChooseHost("host-b");
  EXPECT_EQ(HostError([] { Volume("datastore1")->GetCapacity(); }), "boom");
  ChooseHost("host-a");
  EXPECT_EQ(HostError([] { Volume("datastore1")->GetCapacity(); }), "");
}

TEST_F(ClusterTest, ARescanFindsAVolumeAnotherHostMade) {
  ChooseHost("host-a");
  StorageInfoImpl storage;
  auto snapshots = storage.GetUnresolvedVolumes();
  auto made = snapshots.front()->Resignature();
  const std::string name = dynamic_cast<HostCtl::Storage::FileSystem&>(*made).GetVolumeName();
  ChooseHost("host-b");
  EXPECT_EQ(Volume(name), nullptr);
  storage.RescanKovra();
  ASSERT_NE(Volume(name), nullptr);
  EXPECT_TRUE(Volume(name)->IsMounted());
  EXPECT_TRUE(HasSlotOf(name, kMacB, true));
}

// Host-a asks; host-b and host-c disagree and each completes its part by
// one of the ways a host leaves its old mode. datastore2 has a live slot of
// a host outside the simulation that uses ATS-only already, and a dead one.
TEST_F(ClusterTest, ALockModeChangeIsPendingUntilNoLiveSlotDisagrees) {
  using Move = void (*)(const std::string& host, const std::string& volume);
  const struct {
    const char* how;
    Move move;
  } kMoves[] = {
      {"unmount", [](const std::string&, const std::string& v) { Volume(v)->Unmount(0); }},
      {"remount",
       [](const std::string&, const std::string& v) {
         Volume(v)->Unmount(1);
         Volume(v)->Mount(1);
       }},
      {"crash", [](const std::string& host, const std::string&) { HostCtl::Sim::CrashHost(host); }},
      {"restart", [](const std::string&, const std::string&) { HostCtl::Sim::RestartHost(); }},
  };
  const struct {
    const char* volume;
    uint32_t ask, pending, final_mode;
  } kChanges[] = {{"datastore2", 0x10, 0x20, 0x10}, {"ds-prod-01", 0, 0x40, 0}};
  for (const auto& move : kMoves) {
    for (const auto& change : kChanges) {
      SCOPED_TRACE(std::string(move.how) + " " + change.volume);
      SetUp();
      ChooseHost("host-a");
      Volume(change.volume)->SetLockMode(change.ask);
      const int mode = change.final_mode ? 4 : 0;
      EXPECT_EQ(SlotMode(change.volume, "02:7a:3e:a1:b2:c3"), mode);  // at once
      for (const char* host : {"host-b", "host-c"}) {
        ChooseHost("host-a");
        EXPECT_EQ(Volume(change.volume)->GetLockMode(), change.pending) << host;
        ChooseHost(host);
        move.move(host, change.volume);
      }
      ChooseHost("host-a");
      EXPECT_EQ(Volume(change.volume)->GetLockMode(), change.final_mode);
      if (std::string(move.how) == "remount" || std::string(move.how) == "restart") {
        EXPECT_EQ(SlotMode(change.volume, kMacB), mode);
      }
    }
  }
}

TEST_F(ClusterTest, AHostWithoutAtsOnlyNeitherMountsNorHoldsAnAtsOnlyVolume) {
  HostCtl::Sim::AddHost("host-d", false);
  HostCtl::Sim::AddHost("host-e", false);
  for (const char* host : {"host-d", "host-e"}) {
    ChooseHost(host);
    Volume("datastore2")->Mount(0);
  }
  ChooseHost("host-a");
  const std::string refused = "Cannot set ATS-only locking on volume 'datastore2': ";
  EXPECT_EQ(HostError([] { Volume("datastore2")->SetLockMode(0x10); }),
            refused + "hosts 'host-d', 'host-e' cannot use ATS-only locking");
  HostCtl::Sim::CrashHost("host-d");  // only live hosts hold the volume back
  EXPECT_EQ(HostError([] { Volume("datastore2")->SetLockMode(0x10); }),
            refused + "host 'host-e' cannot use ATS-only locking");
  ChooseHost("host-e");
  Volume("datastore2")->Unmount(0);
  ChooseHost("host-a");
  Volume("datastore2")->SetLockMode(0x10);
  EXPECT_EQ(Volume("datastore2")->GetLockMode(), 0x20u);
  // Pending or done, the volume is ATS-only to a host that cannot use it.
  ChooseHost("host-e");
  EXPECT_EQ(HostError([] { Volume("datastore2")->Mount(0); }),
            "Cannot mount volume 'datastore2': the volume uses ATS-only locking, which this host "
            "cannot use");
  HostCtl::Sim::BootHost("host-d");
  ChooseHost("host-d");
  EXPECT_FALSE(Volume("datastore2")->IsMounted());
  EXPECT_EQ(SlotMode("datastore2", "02:7a:3e:10:00:03"), -1);
}

TEST_F(ClusterTest, AHostIsRemovedOnlyWhenItHoldsNoLiveMount) {
  EXPECT_EQ(ErrorOf<std::exception>([] { HostCtl::Sim::RemoveHost("host-b"); }),
            "host 'host-b' is up with Kovra volumes mounted (datastore1, datastore2, legacy3, "
            "ssd-fast, archive, vm-busy, ds-prod-01): unmount them or crash it first");
  HostCtl::Sim::CrashHost("host-b");
  HostCtl::Sim::RemoveHost("host-b");
  ChooseHost("host-a");
  EXPECT_FALSE(HasSlotOf("datastore1", kMacB));
  EXPECT_EQ(ErrorOf<std::exception>([] { ChooseHost("host-b"); }), "unknown host 'host-b'");
  HostCtl::Sim::AddHost("host-d");
  auto hosts = HostCtl::Sim::ListHosts();
  ASSERT_EQ(hosts.size(), 3u);
  EXPECT_EQ(hosts[2].name + " " + hosts[2].mac + " " + std::to_string(hosts[2].mounted),
            "host-d 02:7a:3e:10:00:01 0");
  ChooseHost("host-d");
  EXPECT_FALSE(Volume("datastore1")->IsMounted());
  Volume("datastore1")->Mount(0);
  EXPECT_TRUE(HasSlotOf("datastore1", "02:7a:3e:10:00:01", true));
}

TEST(ClusterHostsTest, AHostAddedToAStoreOfOneMakesTheChoiceOfHostNecessary) {
  UseHost(DefaultHost());
  EXPECT_TRUE(Volume("datastore1")->IsMounted());  // on the only host, unnamed
  HostCtl::Sim::AddHost("host-b");
  EXPECT_EQ(ErrorOf<std::exception>(HostCtl::Sim::RequireHostUp),
            "the store has several hosts (hvx-lab-01.example.test, host-b): choose one with "
            "--on-host NAME or TARVEX_HOST");
}

TEST_F(ClusterTest, ADeviceGoesOnlyFromHostsThatDoNotUseItAndComesBackAtARescan) {
  const std::string device = "naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04";  // legacy3's
  EXPECT_EQ(HostCtl::Sim::DetachDevices({device}, "host-b"),
            std::vector<std::string>{device + ": volume 'legacy3' is mounted on host 'host-b'"});
  ChooseHost("host-b");
  Volume("legacy3")->Unmount(0);
  EXPECT_EQ(HostCtl::Sim::DetachDevices({device}, "host-b"), std::vector<std::string>{});
  EXPECT_EQ(Volume("legacy3"), nullptr);
  ChooseHost("host-a");
  EXPECT_TRUE(Volume("legacy3")->IsMounted());
  EXPECT_EQ(ErrorOf<std::exception>([&] { HostCtl::Sim::DetachDevices({device}, "host-b"); }),
            "device '" + device + "' is detached already");
  HostCtl::Sim::AttachDevices({device}, "host-b");
  ChooseHost("host-b");
  EXPECT_EQ(Volume("legacy3"), nullptr);
  StorageInfoImpl().RescanKovra();
  EXPECT_TRUE(Volume("legacy3")->IsMounted());
}

TEST(ClusterFixtureTest, AHostKnowsNoVolumeOnADeviceItCannotReach) {
  Json cluster = Cluster({"host-a", "host-b"});
  const std::string device = cluster["volumes"][0]["kovra"]["extents"][0]["device"];
  cluster["hosts"][0]["unreachable"] = {device};
  cluster["hosts"][0]["views"][0]["mounted"] = false;
  // Kept through the store, as the rest.
  cluster["hosts"][0]["ats_only"] = false;
  cluster["volumes"][0]["kovra"]["reclaimed"] = 1048576;
  UseHost(cluster);
  ChooseHost("host-b");
  EXPECT_EQ(Volume("datastore1"), nullptr);
  ChooseHost("host-a");
  EXPECT_TRUE(Volume("datastore1")->IsMounted());
  EXPECT_EQ(CurrentHost(), cluster);
}

TEST(ClusterFixtureTest, AClusterLoadsAndDumpsAsItWasAndIsCheckedAcrossItsHosts) {
  const Json cluster = Cluster({"host-a", "host-b"});
  Json kovra = cluster["volumes"][0];
  kovra["name"] = "other";
  kovra["uuid"] = "other";
  UseHost(cluster);
  EXPECT_EQ(CurrentHost(), cluster);
  EXPECT_EQ(ErrorOf<std::exception>(HostCtl::Sim::RestartHost),
            "the store has several hosts (host-a, host-b): choose one with --on-host NAME or "
            "TARVEX_HOST");
  struct Case {
    const char* pointer;
    Json value;
    const char* error;
  } cases[] = {
      {"/hosts/0/host", "host-a", "f: /hosts/0/host: duplicate host \"host-a\" (also /)"},
      {"/hosts/0/host", "b c", "f: /hosts/0/host: a host name has no blanks or control characters"},
      {"/hosts/0/mac", "02:7a:3e:a1:b2:c3",
       "f: /hosts/0/mac: MAC address 02:7a:3e:a1:b2:c3 is also /mac"},
      {"/hosts/0/views/0/name", "nfs-iso",
       "f: /hosts/0/views/0/name: no Kovra volume \"nfs-iso\" in /volumes"},
      {"/hosts/0/views/1/name", "datastore1",
       "f: /hosts/0/views/1/name: a second view of this volume"},
      {"/hosts/0/unreachable",
       {"naa.6027a3e2001c3a2f9e4d7b8c1a2b3c01"},
       "f: /hosts/0/views/0: mounted, but the host cannot reach device "
       "\"naa.6027a3e2001c3a2f9e4d7b8c1a2b3c01\""},
      {"/unreachable", {"naa.x"}, "f: /unreachable/0: no device \"naa.x\" in /devices"},
      // A host's NAS volume is checked against the SAN's volumes too.
      {"/hosts/0/volumes/0/name", "datastore1",
       "f: /hosts/0/volumes/0/name: duplicate volume name \"datastore1\" (also /volumes/0/name)"},
      {"/hosts/0/volumes/0/uuid", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3",
       "f: /hosts/0/volumes/0/uuid: duplicate volume UUID "
       "\"5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3\" (also /volumes/0/uuid)"},
      {"/hosts/0/volumes/0", kovra,
       "f: /hosts/0/volumes/0/type: a Kovra volume is the SAN's: in /volumes, with this host's "
       "view in views"},
  };
  for (const Case& c : cases) {
    Json bad = cluster;
    bad[Json::json_pointer(c.pointer)] = c.value;
    EXPECT_EQ(ErrorOf<std::exception>([&] { HostCtl::Sim::LoadFixture(bad.dump(), "f"); }), c.error)
        << c.pointer;
  }
  const HostCtl::Sim::HostModel base =
      HostCtl::Sim::LoadFixture(HostCtl::Sim::DefaultHostFixture(), "d");
  EXPECT_EQ(ErrorOf<std::exception>([&] {
              HostCtl::Sim::MakeCluster(base, {"a", "b", "a"});
            }),
            "host 'a' is named twice");
  EXPECT_EQ(ErrorOf<std::exception>([&] {
              HostCtl::Sim::MakeCluster(base, {"a", ""});
            }),
            "'': a host name cannot be empty");
  std::vector<std::string> many;
  for (int i = 0; i < 64; ++i) many.push_back("h" + std::to_string(i));
  EXPECT_EQ(ErrorOf<std::exception>([&] { HostCtl::Sim::MakeCluster(base, many); }),
            "too many hosts: volume 'datastore2' has 64 heartbeat slots");
}

}  // namespace
}  // namespace HostTest
