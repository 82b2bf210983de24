// Injected faults: which calls they select (operation, object by name,
// label or UUID, the Nth call, at most N times), and that the counts live
// in the host.
#include <functional>

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

// Every operation of every kind of object, each armed alone for the object
// it is called on: the call throws the fault's message.
TEST(FaultTest, EveryOperationOfEveryObjectChecksItsFaults) {
  using HostCtl::HostFactory;
  const auto kovra = [] { return StorageInfoImpl().GetFileSystemByLabel("datastore1"); };
  const auto nfs = [] { return std::move(StorageInfoImpl().GetV3NetworkFileSystems(nullptr)[0]); };
  const auto nfs41 = [] {
    return std::move(StorageInfoImpl().GetV41NetworkFileSystems(nullptr)[0]);
  };
  const auto snapshot = [] { return std::move(StorageInfoImpl().GetUnresolvedVolumes()[0]); };
  const auto options = [] { return HostFactory::GetHost()->GetAdvancedOptions(); };
  const auto heap = [] {
    return std::move(HostFactory::GetHost()->GetHardwareInfo()->GetMemoryInfo()->GetHeaps()[0]);
  };
  const auto pbcache = [] { return StorageInfoImpl().GetPBCache(); };
  const std::string ds1 = "datastore1", iso = "nfs-iso", home = "nfs41-home", db = "prod-db";
  const std::string ds1_device = "naa.600508b1001c3a2f9e4d7b8c1a2b3c01";
  const std::string db_device = "naa.624a93701b2c3d4e5f60718293a4b5c1";
  const struct {
    std::string operation;
    std::string object;
    std::function<void()> call;
  } calls[] = {
      {"StorageInfoImpl", "", [] { StorageInfoImpl(); }},
      {"GetFileSystems", "", [] { StorageInfoImpl().GetFileSystems(); }},
      {"GetFileSystemByLabel", "x", [] { StorageInfoImpl().GetFileSystemByLabel("x"); }},
      {"GetFileSystemByUUID", "x", [] { StorageInfoImpl().GetFileSystemByUUID("x"); }},
      {"GetFileSystemByPath", "x", [] { StorageInfoImpl().GetFileSystemByPath("x"); }},
      {"GetFileSystemByUuidEx", "x", [] { StorageInfoImpl().GetFileSystemByUuidEx("x"); }},
      {"GetKovraFileSystems", "x", [] { StorageInfoImpl().GetKovraFileSystems("x"); }},
      {"GetKovraFileSystemsList", "x", [] { StorageInfoImpl().GetKovraFileSystemsList("x"); }},
      {"GetKovraFileSystemByLabel", "x", [] { StorageInfoImpl().GetKovraFileSystemByLabel("x"); }},
      {"GetKovraFileSystemByUUID", "x", [] { StorageInfoImpl().GetKovraFileSystemByUUID("x"); }},
      {"GetKovraFileSystemByLabel", "x",
       [] { StrelCtl::Storage::KovraFileSystemImpl::GetKovraFileSystemByLabel("x"); }},
      {"GetKovraFileSystemByUUID", "x",
       [] { StrelCtl::Storage::KovraFileSystemImpl::GetKovraFileSystemByUUID("x"); }},
      {"KovraFileSystemImpl", "/x", [] { StrelCtl::Storage::KovraFileSystemImpl("/x"); }},
      {"GetUnresolvedVolumes", "", [] { StorageInfoImpl().GetUnresolvedVolumes(); }},
      {"GetV3NetworkFileSystems", "", [] { StorageInfoImpl().GetV3NetworkFileSystems(nullptr); }},
      {"GetV41NetworkFileSystems", "", [] { StorageInfoImpl().GetV41NetworkFileSystems(nullptr); }},
      {"GetPBCache", "", [] { StorageInfoImpl().GetPBCache(); }},
      {"AddNetworkFileSystem", "n",
       [] { StorageInfoImpl().AddNetworkFileSystem("192.0.2.1", "/s", "n", false, "", 0); }},
      {"AddV41NetworkFileSystem", "n",
       [] { StorageInfoImpl().AddV41NetworkFileSystem({"192.0.2.1"}, "/s", "n", {}); }},
      {"RemoveNetworkFileSystem", iso, [&] { StorageInfoImpl().RemoveNetworkFileSystem(iso); }},
      {"RemoveNetworkFileSystem", iso,
       [&] { StorageInfoImpl::RemoveNetworkFileSystem(iso, StrelCtl::Storage::NFS_V3); }},
      {"EnterNetworkFileSystemPreUnmount", iso,
       [&] { StorageInfoImpl().EnterNetworkFileSystemPreUnmount(iso); }},
      {"ExitNetworkFileSystemPreUnmount", iso,
       [&] { StorageInfoImpl().ExitNetworkFileSystemPreUnmount(iso); }},
      {"TryMount", "x", [] { StorageInfoImpl().TryMount(0, "", "x"); }},
      {"RescanKovra", "", [] { StorageInfoImpl().RescanKovra(); }},
      {"AutoFullMountVolumes", "", [] { StorageInfoImpl().AutoFullMountVolumes(); }},
      {"SignalIORM", "", [] { StorageInfoImpl().SignalIORM(true); }},
      {"RestorePsaConfig", "", [] { StorageInfoImpl().RestorePsaConfig(); }},
      {"StorageInfoScopedCache", "", [] { HostCtl::Storage::StorageInfoScopedCache(false); }},
      {"Mount", ds1, [&] { kovra()->Mount(0); }},
      {"Unmount", ds1, [&] { kovra()->Unmount(0); }},
      {"IsMounted", ds1, [&] { kovra()->IsMounted(); }},
      {"GetCapacity", ds1, [&] { kovra()->GetCapacity(); }},
      {"GetUsedSpace", ds1, [&] { kovra()->GetUsedSpace(); }},
      {"GetType", ds1, [&] { kovra()->GetType(); }},
      {"GetMountPoint", ds1, [&] { kovra()->GetMountPoint(); }},
      {"GetVolumeName", ds1, [&] { kovra()->GetVolumeName(); }},
      {"GetUuid", ds1, [&] { kovra()->GetUuid(); }},
      {"GetArrakState", ds1, [&] { kovra()->GetArrakState(); }},
      {"IsAccessible", ds1,
       [&] { dynamic_cast<StrelCtl::Storage::KovraFileSystemImpl&>(*kovra()).IsAccessible(); }},
      {"ConvertToVersion5", ds1,
       [&] {
         dynamic_cast<StrelCtl::Storage::KovraFileSystemImpl&>(*kovra()).ConvertToVersion5();
       }},
      {"UnmapVolume", ds1,
       [&] { dynamic_cast<StrelCtl::Storage::KovraFileSystemImpl&>(*kovra()).UnmapVolume(1, 0); }},
      {"GetLockMode", ds1, [&] { kovra()->GetLockMode(); }},
      {"SetLockMode", ds1, [&] { kovra()->SetLockMode(0); }},
      {"GetMajorVersion", ds1, [&] { kovra()->GetMajorVersion(); }},
      {"GetExtents", ds1, [&] { kovra()->GetExtents(); }},
      {"GetLvmUuid", ds1, [&] { kovra()->GetLvmUuid(); }},
      {"SetClusteredKadiskEnabled", ds1, [&] { kovra()->SetClusteredKadiskEnabled(true); }},
      {"IsClusteredKadiskEnabled", ds1, [&] { kovra()->IsClusteredKadiskEnabled(); }},
      {"GetUsers", ds1, [&] { kovra()->GetUsers(true); }},
      {"GetAtsSupport", ds1, [&] { kovra()->GetAtsSupport(); }},
      {"PrepareUnmount", ds1, [&] { kovra()->PrepareUnmount(); }},
      {"GetUnmapProperty", ds1, [&] { kovra()->GetUnmapProperty(); }},
      {"SetUnmapProperty", ds1, [&] { kovra()->SetUnmapProperty({}); }},
      {"GetDeviceName", ds1_device, [&] { kovra()->GetExtents()[0]->GetDeviceName(); }},
      {"GetPartitionNumber", ds1_device, [&] { kovra()->GetExtents()[0]->GetPartitionNumber(); }},
      {"GetHost", iso, [&] { nfs()->GetHost(); }},
      {"GetHosts", home, [&] { nfs41()->GetHosts(); }},
      {"GetShare", iso, [&] { nfs()->GetShare(); }},
      {"IsMountReadOnly", iso, [&] { nfs()->IsMountReadOnly(); }},
      {"IsReadOnly", iso, [&] { nfs()->IsReadOnly(); }},
      {"SetReadOnly", iso, [&] { nfs()->SetReadOnly(true); }},
      {"IsProtocolEndpoint", iso, [&] { nfs()->IsProtocolEndpoint(); }},
      {"SetProtocolEndpoint", iso, [&] { nfs()->SetProtocolEndpoint(false); }},
      {"GetStrelnic", iso, [&] { nfs()->GetStrelnic(); }},
      {"IsAccessible", iso, [&] { nfs()->IsAccessible(); }},
      {"IsHidden", iso, [&] { nfs()->IsHidden(); }},
      {"GetMaxReadTransferSize", iso, [&] { nfs()->GetMaxReadTransferSize(); }},
      {"GetMaxWriteTransferSize", iso, [&] { nfs()->GetMaxWriteTransferSize(); }},
      {"GetMaxQueueDepth", iso, [&] { nfs()->GetMaxQueueDepth(); }},
      {"SetMaxQueueDepth", iso, [&] { nfs()->SetMaxQueueDepth(1, true); }},
      {"GetSecurityType", home, [&] { nfs41()->GetSecurityType(); }},
      {"GetStrelnicParameter", iso, [&] { nfs()->GetStrelnicParameter(); }},
      {"SetStrelnic", iso, [&] { nfs()->SetStrelnic(""); }},
      {"GetLvmUuid", db, [&] { snapshot()->GetLvmUuid(); }},
      {"GetUuid", db, [&] { snapshot()->GetUuid(); }},
      {"GetVolumeName", db, [&] { snapshot()->GetVolumeName(); }},
      {"GetExtents", db, [&] { snapshot()->GetExtents(); }},
      {"CanResolve", db, [&] { snapshot()->CanResolve(true, false, nullptr); }},
      {"Resignature", db, [&] { snapshot()->Resignature(); }},
      {"Mount", db, [&] { snapshot()->Mount(false, false); }},
      {"GetDeviceName", db_device, [&] { snapshot()->GetExtents()[0]->GetDeviceName(); }},
      {"GetPartitionNumber", db_device, [&] { snapshot()->GetExtents()[0]->GetPartitionNumber(); }},
      {"GetStart", db_device, [&] { snapshot()->GetExtents()[0]->GetStart(); }},
      {"GetEnd", db_device, [&] { snapshot()->GetExtents()[0]->GetEnd(); }},
      {"GetHost", "", [] { HostFactory::GetHost(); }},
      {"GetStorageInfo", "", [] { HostFactory::GetHost()->GetStorageInfo(); }},
      {"GetAdvancedOptions", "", [] { HostFactory::GetHost()->GetAdvancedOptions(); }},
      {"GetHardwareInfo", "", [] { HostFactory::GetHost()->GetHardwareInfo(); }},
      {"GetMemoryInfo", "", [] { HostFactory::GetHost()->GetHardwareInfo()->GetMemoryInfo(); }},
      {"GetHeaps", "",
       [&] { HostFactory::GetHost()->GetHardwareInfo()->GetMemoryInfo()->GetHeaps(); }},
      {"GetName", "kovra3", [&] { heap()->GetName(); }},
      {"GetCurrentSize", "kovra3", [&] { heap()->GetCurrentSize(); }},
      {"GetMaxSize", "kovra3", [&] { heap()->GetMaxSize(); }},
      {"GetStats", "", [&] { pbcache()->GetStats(); }},
      {"ResetStats", "", [&] { pbcache()->ResetStats(); }},
      {"GetOptionGroup", "Kovra3", [&] { options()->GetOptionGroup("Kovra3"); }},
      {"GetOption", "Kovra3/MaxHeapSizeMB",
       [&] { options()->GetOptionGroup("Kovra3")->GetOption("MaxHeapSizeMB"); }},
      {"GetName", "MaxHeapSizeMB",
       [&] { options()->GetOptionGroup("Kovra3")->GetOption("MaxHeapSizeMB")->GetName(); }},
      {"GetValue", "Kovra3/MaxHeapSizeMB",
       [&] {
         auto option = options()->GetOptionGroup("Kovra3")->GetOption("MaxHeapSizeMB");
         dynamic_cast<HostCtl::Adv::AdvancedIntegerOption&>(*option).GetValue();
       }},
      {"GetName", "Syslog/LogHost",
       [&] { options()->GetOptionGroup("Syslog")->GetOption("LogHost")->GetName(); }},
      {"GetValue", "LogHost",
       [&] {
         auto option = options()->GetOptionGroup("Syslog")->GetOption("LogHost");
         dynamic_cast<HostCtl::Adv::AdvancedStringOption&>(*option).GetValue();
       }},
  };
  for (const auto& c : calls) {
    UseFaults({Fault(c.operation, c.object, c.operation + " on " + c.object)});
    EXPECT_EQ(HostError(c.call), c.operation + " on " + c.object);
  }
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
