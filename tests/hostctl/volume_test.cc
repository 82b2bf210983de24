// Volumes of every type on the default host: lookups, mounts and unmounts,
// what a restart undoes, and the host's own mounting (try, rescan, automount).
#include <algorithm>
#include <functional>

#include "host_test_support.h"
#include "hostctl/rules/admin.h"

namespace HostTest {
namespace {

using HostCtl::Storage::KovraFileSystem;
using HostCtl::Storage::NetworkFileSystem;
using StrelCtl::Storage::StorageInfoImpl;

class VolumeTest : public DefaultHostTest {
 protected:
  bool Mounted(const std::string& name) { return Volume(name)->IsMounted(); }
};

// A listing reads only what it shows: each other detail, asked for first on
// a fresh listing, must answer as on the volume looked up alone.
std::unique_ptr<NetworkFileSystem> LookUp(NetworkFileSystem*, const std::string& name) {
  return Nas(name);
}
std::unique_ptr<KovraFileSystem> LookUp(KovraFileSystem*, const std::string& name) {
  return Volume(name);
}

template <class Kind>
void ExpectListedAsLookedUp(const std::vector<std::function<std::string(Kind&)>>& details) {
  for (size_t i = 0; i < details.size(); ++i) {
    for (auto& listed : StorageInfoImpl().GetFileSystems()) {
      auto* volume = dynamic_cast<Kind*>(listed.get());
      if (!volume) continue;
      auto alone = LookUp(volume, listed->GetVolumeName());
      ASSERT_NE(alone, nullptr) << listed->GetVolumeName();
      EXPECT_EQ(details[i](*volume), details[i](*alone))
          << "detail " << i << " of " << listed->GetVolumeName();
    }
  }
}

TEST_F(VolumeTest, ListedVolumesReadTheirOtherDetailsWhenAsked) {
  using std::to_string;
  ExpectListedAsLookedUp<NetworkFileSystem>({
      [](NetworkFileSystem& v) { return v.GetHosts().empty() ? "" : v.GetHosts().back(); },
      [](NetworkFileSystem& v) { return v.GetHost(); },
      [](NetworkFileSystem& v) { return v.GetShare(); },
      [](NetworkFileSystem& v) { return to_string(v.IsMountReadOnly()); },
      [](NetworkFileSystem& v) { return to_string(v.IsReadOnly()); },
      [](NetworkFileSystem& v) { return to_string(v.IsProtocolEndpoint()); },
      [](NetworkFileSystem& v) { return to_string(v.IsAccessible()); },
      [](NetworkFileSystem& v) { return to_string(v.IsHidden()); },
      [](NetworkFileSystem& v) { return v.GetStrelnic(); },
      [](NetworkFileSystem& v) { return v.GetStrelnicParameter(); },
      [](NetworkFileSystem& v) { return to_string(v.GetMaxReadTransferSize()); },
      [](NetworkFileSystem& v) { return to_string(v.GetMaxWriteTransferSize()); },
      [](NetworkFileSystem& v) { return to_string(v.GetMaxQueueDepth()); },
      [](NetworkFileSystem& v) { return to_string(v.GetSecurityType()); },
      [](NetworkFileSystem& v) { return to_string(v.GetArrakState()); },
  });
  ExpectListedAsLookedUp<KovraFileSystem>({
      [](KovraFileSystem& v) { return to_string(v.GetLockMode()); },
      [](KovraFileSystem& v) { return to_string(v.GetMajorVersion()); },
      [](KovraFileSystem& v) { return v.GetLvmUuid(); },
      [](KovraFileSystem& v) { return to_string(v.IsClusteredKadiskEnabled()); },
      [](KovraFileSystem& v) { return v.GetUnmapProperty().priority; },
      [](KovraFileSystem& v) { return to_string(v.GetUnmapProperty().granularity); },
      [](KovraFileSystem& v) {
        std::string ready;
        return HostError([&] { ready = to_string(v.PrepareUnmount()); }) + ready;
      },
  });
}

// A listing keeps its texts packed; whatever they are, each getter answers
// as on the volume looked up alone, and a change through a listed handle
// shows on it.
TEST_F(VolumeTest, ListedVolumesShowWhatTheyHoldAndTheirChanges) {
  Json host = DefaultHost();
  VolumeIn(host, "datastore2")["name"] = std::string(300, 'n');           // a length of two bytes
  VolumeIn(host, "ssd-fast")["mount_point"] = "/kovra/volumes/ssd-fast";  // under its label
  VolumeIn(host, "archive")["mount_point"] = "/mnt/archive";
  VolumeIn(host, "vm-busy")["mount_point"] =
      "/kovra/volumes/" + VolumeIn(host, "scratch")["uuid"].get<std::string>();
  for (int i = 0; i < 300; ++i) {  // more types than a listing numbers
    std::string n = std::to_string(i);
    host["volumes"].push_back({{"type", "t" + n}, {"name", "typed-" + n}, {"uuid", "u-" + n}});
  }
  UseHost(host);
  auto listed = storage_.GetFileSystems();
  ASSERT_EQ(listed.size(), host["volumes"].size() - 1);  // new-lun is not discovered
  auto expect_as_alone = [&] {
    for (auto& volume : listed) {
      auto alone = storage_.GetFileSystemByUuidEx(volume->GetUuid());
      ASSERT_NE(alone, nullptr) << volume->GetVolumeName();
      EXPECT_EQ(volume->GetVolumeName(), alone->GetVolumeName());
      EXPECT_EQ(volume->GetType(), alone->GetType());
      EXPECT_EQ(volume->GetMountPoint(), alone->GetMountPoint());
      EXPECT_EQ(volume->IsMounted(), alone->IsMounted()) << volume->GetVolumeName();
      EXPECT_EQ(volume->GetCapacity(), alone->GetCapacity());
      EXPECT_EQ(volume->GetUsedSpace(), alone->GetUsedSpace());
    }
  };
  expect_as_alone();
  auto scratch = std::find_if(listed.begin(), listed.end(),
                              [](auto& v) { return v->GetVolumeName() == "scratch"; });
  ASSERT_NE(scratch, listed.end());
  (*scratch)->Mount(0);  // every listed volume now reads its full record
  EXPECT_TRUE((*scratch)->IsMounted());
  expect_as_alone();
}

TEST_F(VolumeTest, LabelAndUuidLookupsFindEveryTypeButKovraOnlyOperationsRefuseOthers) {
  auto iso = storage_.GetFileSystemByLabel("nfs-iso");
  ASSERT_NE(iso, nullptr);
  EXPECT_EQ(iso->GetType(), "NFS");
  auto& impl = dynamic_cast<StrelCtl::Storage::KovraFileSystemImpl&>(*iso);
  for (const std::function<void()>& kovra_only : std::vector<std::function<void()>>{
           [&] { iso->GetLockMode(); }, [&] { iso->SetLockMode(0); },
           [&] { iso->GetMajorVersion(); }, [&] { iso->GetExtents(); }, [&] { iso->GetLvmUuid(); },
           [&] { iso->IsClusteredKadiskEnabled(); }, [&] { iso->SetClusteredKadiskEnabled(true); },
           [&] { iso->GetUsers(false); }, [&] { iso->GetAtsSupport(); },
           [&] { iso->GetUnmapProperty(); }, [&] { iso->SetUnmapProperty({}); },
           [&] { impl.UnmapVolume(1, nullptr); }}) {
    EXPECT_EQ(HostError(kovra_only), "Volume 'nfs-iso' is not a Kovra volume (its type is NFS)");
  }
  EXPECT_EQ(storage_.GetFileSystemByUUID("a0b1c2d3-e4f5a6b7")->GetVolumeName(), "nfs-iso");
  ASSERT_NE(
      dynamic_cast<NetworkFileSystem*>(storage_.GetFileSystemByUuidEx("e4f5a6b7-c8d9e0f1").get()),
      nullptr);
  EXPECT_EQ(storage_.GetFileSystemByUuidEx("00000000-00000000"), nullptr);
  EXPECT_EQ(storage_.GetFileSystemByLabel("new-lun"), nullptr);  // not discovered yet
  EXPECT_EQ(storage_.GetKovraFileSystemByLabel("nfs-iso"), nullptr);
  EXPECT_EQ(storage_.GetKovraFileSystemByLabel("scratch")->IsMounted(), false);
  EXPECT_EQ(StrelCtl::Storage::KovraFileSystemImpl::GetKovraFileSystemByUUID(
                "4c7d9e1f-3a5b7c9d-0e1f-027a3ea1b2c3")
                ->GetMajorVersion(),
            3u);
}

TEST_F(VolumeTest, PathsNameMountedVolumesOnly) {
  EXPECT_EQ(storage_.GetFileSystemByPath("/kovra/volumes/datastore1")->GetVolumeName(),
            "datastore1");
  EXPECT_EQ(
      storage_.GetFileSystemByPath("/kovra/volumes/a0b1c2d3-e4f5a6b7/iso/x.iso/")->GetVolumeName(),
      "nfs-iso");
  EXPECT_EQ(storage_.GetFileSystemByPath("/kovra/volumes/scratch"), nullptr);
  EXPECT_EQ(storage_.GetFileSystemByPath("/mnt/datastore1"), nullptr);

  StrelCtl::Storage::KovraFileSystemImpl opened("/kovra/volumes/scratch");
  EXPECT_FALSE(opened.IsMounted());
  EXPECT_EQ(HostError([] { StrelCtl::Storage::KovraFileSystemImpl("/kovra/volumes/nope"); }),
            "Cannot open volume '/kovra/volumes/nope': no volume has that label or UUID");
}

TEST_F(VolumeTest, KovraListsEveryVolumeAndFullListWithEmptySlotsForInaccessibleVolumes) {
  Json host = DefaultHost();
  VolumeIn(host, "legacy3")["accessible"] = false;
  UseHost(host);
  // Inaccessible (legacy3) and unmounted (scratch) ones too; not undiscovered.
  EXPECT_EQ(Names(storage_.GetKovraFileSystems("")),
            (std::vector<std::string>{"datastore1", "datastore2", "legacy3", "ssd-fast", "archive",
                                      "vm-busy", "scratch", "ds-prod-01"}));
  ASSERT_EQ(storage_.GetKovraFileSystems("60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3").size(), 1u);
  EXPECT_TRUE(storage_.GetKovraFileSystems("new-lun").empty());

  auto all = storage_.GetKovraFileSystemsList("");
  ASSERT_EQ(all.size(), 8u);
  EXPECT_EQ(all[2], nullptr);
  EXPECT_EQ(all[6]->GetVolumeName(), "scratch");
  EXPECT_EQ(Names(storage_.GetKovraFileSystemsList("62a1b2c3-6c7d8e9f-0a1b-027a3ea1b2c3")),
            std::vector<std::string>{"scratch"});  // a label or a UUID
}

TEST_F(VolumeTest, MountAndUnmountRefuseWithTheHostsReason) {
  Json host = DefaultHost();
  host["devices"][7]["attached"] = false;  // scratch's device
  VolumeIn(host, "ssd-fast")["accessible"] = false;
  VolumeIn(host, "ssd-fast")["mounted"] = false;
  UseHost(host);
  const std::string unattached = "device naa.6027a3e2001c3a2f9e4d7b8c1a2b3c07 is not attached";
  struct Case {
    std::string volume;
    bool mount;  // or unmount
    int option;
    std::string reason;
  } cases[] = {
      {"datastore1", true, 0, "the volume is already mounted"},
      {"scratch", false, 0, "the volume is not mounted"},
      {"scratch", true, 7, "invalid mount option 7"},
      {"datastore1", false, 4, "invalid unmount option 4"},
      {"nfs-legacy", true, 0, "Unable to connect to NFS server 203.0.113.50"},
      {"scratch", true, 0, unattached},
      {"ssd-fast", true, 0, "the storage behind it is not accessible"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HostError([&] {
                if (c.mount) {
                  Volume(c.volume)->Mount(c.option);
                } else {
                  Volume(c.volume)->Unmount(c.option);
                }
              }),
              std::string(c.mount ? "Cannot mount" : "Cannot unmount") + " volume '" + c.volume +
                  "': " + c.reason);
  }
}

// A one-boot mount undone by a restart shows in datastores.t.
TEST_F(VolumeTest, ARetriedMountIsPersistentLikeADefaultOne) {
  Volume("scratch")->Mount(4);
  HostCtl::Sim::RestartHost();
  EXPECT_TRUE(Mounted("scratch"));
}

// Whether a busy volume unmounts shows through the unmount command.
TEST_F(VolumeTest, ABusyVolumeIsNotReadyForUnmount) {
  EXPECT_FALSE(Volume("vm-busy")->PrepareUnmount());
  EXPECT_TRUE(Volume("datastore1")->PrepareUnmount());
  EXPECT_EQ(HostError([] { Volume("scratch")->PrepareUnmount(); }),
            "Cannot prepare for unmount volume 'scratch': the volume is not mounted");
}

TEST_F(VolumeTest, HandlesKeepTheirRowButDecideOnTheCurrentOne) {
  auto first = Volume("scratch");
  auto second = Volume("scratch");
  first->Mount(0);
  EXPECT_TRUE(first->IsMounted());
  EXPECT_FALSE(second->IsMounted());  // what its own query read
  EXPECT_EQ(HostError([&] { second->Mount(0); }),
            "Cannot mount volume 'scratch': the volume is already mounted");
  EXPECT_FALSE(second->IsMounted());  // a failed write leaves the handle as it was read
}

TEST_F(VolumeTest, TryMountMountsOnlyAnUnmountedKovraVolumeNamedConsistently) {
  const std::string scratch_uuid = "62a1b2c3-6c7d8e9f-0a1b-027a3ea1b2c3";
  const std::pair<std::string, std::string> refused[] = {
      {"", ""},
      {scratch_uuid, "datastore1"},                         // the names disagree
      {"", "datastore1"},                                   // mounted already
      {"", "nfs-legacy"},                                   // not Kovra
      {"", "new-lun"},                                      // not discovered
      {"11111111-22222222-3333-444444444444", "scratch"}};  // no such UUID
  for (const auto& r : refused) EXPECT_FALSE(storage_.TryMount(0, r.first, r.second)) << r.second;
  EXPECT_FALSE(storage_.TryMount(2, scratch_uuid, "scratch"));  // no such option
  EXPECT_FALSE(Mounted("scratch"));
  EXPECT_TRUE(storage_.TryMount(1, scratch_uuid, "scratch"));
  EXPECT_TRUE(Mounted("scratch"));
  HostCtl::Sim::RestartHost();
  EXPECT_FALSE(Mounted("scratch"));
  EXPECT_TRUE(storage_.TryMount(4, "", "scratch"));  // retried
}

TEST_F(VolumeTest, RescanDiscoversAndMountsVolumesOnAttachedDevices) {
  Json host = DefaultHost();
  Json extra = VolumeIn(host, "new-lun");
  Json dark = extra;  // found, but its storage does not answer: known, not mounted
  dark["name"] = "dark-lun";
  dark["uuid"] = "65c3d4e5-8e9f0a1b-2c3d-027a3ea1b2c3";
  dark["accessible"] = false;
  host["volumes"].push_back(dark);
  extra["name"] = "far-lun";
  extra["uuid"] = "64c3d4e5-8e9f0a1b-2c3d-027a3ea1b2c3";
  extra["kovra"]["extents"][0]["device"] = "naa.detached";
  host["devices"].push_back({{"name", "naa.detached"}, {"attached", false}});
  host["volumes"].push_back(extra);
  UseHost(host);
  storage_.RescanKovra();
  EXPECT_TRUE(Mounted("new-lun"));
  EXPECT_EQ(Volume("far-lun"), nullptr);
  EXPECT_FALSE(Volume("dark-lun")->IsMounted());
  HostCtl::Sim::RestartHost();
  EXPECT_TRUE(Mounted("new-lun"));  // mounted persistently
}

// What automount mounts is the file-system command's; here, the failures it
// names together after mounting the rest.
TEST_F(VolumeTest, AutomountNamesWhatFailedAfterMountingTheRest) {
  Json host = DefaultHost();
  VolumeIn(host, "nfs-legacy")["persistent"] = true;
  VolumeIn(host, "scratch")["persistent"] = true;
  UseHost(host);
  EXPECT_EQ(HostError([&] { storage_.AutoFullMountVolumes(); }),
            "Cannot mount volume 'nfs-legacy': Unable to connect to NFS server 203.0.113.50");
  EXPECT_TRUE(Mounted("scratch"));
}

}  // namespace
}  // namespace HostTest
