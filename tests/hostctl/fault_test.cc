// Injected faults: which calls they select (operation, object by name,
// label or UUID, the Nth call, at most N times), and that the counts live
// in the host.
#include "host_test_support.h"
#include "hostctl/admin.h"
#include "hostctl/sim.h"

namespace HostTest {
namespace {

using StrelCtl::Storage::StorageInfoImpl;

Json Fault(const std::string& operation, const std::string& object, const std::string& message,
           int nth = 0, int times = 0) {
  return {{"operation", operation},
          {"object", object},
          {"message", message},
          {"nth", nth},
          {"times", times}};
}

void UseFaults(const std::vector<Json>& faults) {
  Json host = DefaultHost();
  for (const Json& f : faults) host["faults"].push_back(f);
  UseHost(host);
}

TEST(FaultTest, SelectsByOperationAndByVolumeNameOrUuid) {
  UseFaults({Fault("GetCapacity", "datastore2", "Unable to read the capacity of datastore2"),
             Fault("GetUsedSpace", "4c7d9e1f-3a5b7c9d-0e1f-027a3ea1b2c3", "legacy3 is gone")});
  EXPECT_EQ(HostError([] { Volume("datastore2")->GetCapacity(); }),
            "Unable to read the capacity of datastore2");
  EXPECT_EQ(HostError([] { Volume("datastore1")->GetCapacity(); }), "");
  EXPECT_EQ(HostError([] { Volume("datastore2")->GetUsedSpace(); }), "");
  EXPECT_EQ(HostError([] { Volume("legacy3")->GetUsedSpace(); }), "legacy3 is gone");
  // An empty object matches every object and objectless operations.
  UseFaults({Fault("RescanKovra", "", "Rescan failed: the HBA did not answer"),
             Fault("IsMounted", "", "Cannot read the mount state")});
  EXPECT_EQ(HostError([] { StorageInfoImpl().RescanKovra(); }),
            "Rescan failed: the HBA did not answer");
  EXPECT_EQ(HostError([] { Volume("nfs-iso")->IsMounted(); }), "Cannot read the mount state");
  EXPECT_EQ(HostError([] { Volume("BOOTBANK1")->IsMounted(); }), "Cannot read the mount state");
}

TEST(FaultTest, NthFiresOnceOnThatCallAndTimesLimitsTheFires) {
  UseFaults({Fault("GetVolumeName", "nfs-iso", "third", 3),
             Fault("GetUuid", "datastore1", "twice", 0, 2)});
  auto iso = Volume("nfs-iso");
  EXPECT_EQ(HostError([&] { iso->GetVolumeName(); }), "");
  EXPECT_EQ(HostError([&] { iso->GetVolumeName(); }), "");
  EXPECT_EQ(HostError([&] { iso->GetVolumeName(); }), "third");
  EXPECT_EQ(HostError([&] { iso->GetVolumeName(); }), "");
  auto ds1 = Volume("datastore1");
  EXPECT_EQ(HostError([&] { ds1->GetUuid(); }), "twice");
  EXPECT_EQ(HostError([&] { ds1->GetUuid(); }), "twice");
  EXPECT_EQ(HostError([&] { ds1->GetUuid(); }), "");
  Json host = CurrentHost();
  EXPECT_EQ(host["faults"][0]["calls"], 4);
  EXPECT_EQ(host["faults"][0]["fired"], 1);
  EXPECT_EQ(host["faults"][1]["calls"], 3);
  EXPECT_EQ(host["faults"][1]["fired"], 2);
}

TEST(FaultTest, SelectsSnapshotsDevicesOptionsAndLookupArguments) {
  UseFaults({Fault("CanResolve", "prod-db", "cannot check prod-db"),
             Fault("GetDeviceName", "naa.600508b1001c3a2f9e4d7b8c1a2b3c03", "device gone"),
             Fault("GetOption", "EnableOnlineATSUpgrade", "option unreadable"),
             Fault("GetFileSystemByLabel", "ghost", "lookup failed"),
             Fault("StorageInfoImpl", "", "storage stack not ready", 2)});
  StorageInfoImpl storage;  // the first construction passes
  auto snapshots = storage.GetUnresolvedVolumes();
  EXPECT_EQ(HostError([&] { snapshots[0]->CanResolve(true, false, nullptr); }),
            "cannot check prod-db");
  EXPECT_EQ(HostError([&] { snapshots[1]->CanResolve(true, false, nullptr); }), "");
  auto extents = storage.GetFileSystemByLabel("datastore2")->GetExtents();
  EXPECT_EQ(HostError([&] { extents[0]->GetDeviceName(); }), "");
  EXPECT_EQ(HostError([&] { extents[1]->GetDeviceName(); }), "device gone");
  auto group = HostCtl::HostFactory::GetHost()->GetAdvancedOptions()->GetOptionGroup("Kovra3");
  EXPECT_EQ(HostError([&] { group->GetOption("EnableOnlineATSUpgrade"); }), "option unreadable");
  EXPECT_EQ(HostError([&] { storage.GetFileSystemByLabel("ghost"); }), "lookup failed");
  EXPECT_EQ(HostError([] { StorageInfoImpl(); }), "storage stack not ready");
}

TEST(FaultTest, AFiredFaultChangesNothing) {
  UseFaults({Fault("Mount", "scratch", "Mount failed: timeout", 0, 1)});
  EXPECT_EQ(HostError([] { Volume("scratch")->Mount(0); }), "Mount failed: timeout");
  EXPECT_FALSE(Volume("scratch")->IsMounted());
  Volume("scratch")->Mount(0);
  EXPECT_TRUE(Volume("scratch")->IsMounted());
}

TEST(FaultTest, FaultsAreReadOncePerProcess) {
  TempDir dir;
  HostCtl::Sim::SetStorePath(dir.Path("host.db"));
  EXPECT_EQ(HostError([] { StorageInfoImpl().RestorePsaConfig(); }), "");
  // Armed after this process read the faults: another process sees it, this
  // one does not.
  HostCtl::Sim::AddFault({0, "RestorePsaConfig", "", "restore failed", 0, 0, 0, 0});
  EXPECT_EQ(HostError([] { StorageInfoImpl().RestorePsaConfig(); }), "");
  HostCtl::Sim::SetStorePath(dir.Path("host.db"));
  EXPECT_EQ(HostError([] { StorageInfoImpl().RestorePsaConfig(); }), "restore failed");
  HostCtl::Sim::SetStorePath("");
}

}  // namespace
}  // namespace HostTest
