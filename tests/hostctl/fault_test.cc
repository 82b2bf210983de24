// Injected faults: which calls they select (operation, object by name,
// label or UUID, the Nth call, at most N times), and that the counts live
// in the host.
#include <functional>

#include "host_test_support.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"

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
  // An empty object, matching every object, is what the command tables arm.
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

// Every operation of every kind of object checks its faults. Here, each armed
// alone for the object it is called on, those that no command's table fails
// (the others show there): the call throws the fault's message.
TEST(FaultTest, EveryOperationOfEveryObjectChecksItsFaults) {
  using HostCtl::HostFactory;
  using Impl = StrelCtl::Storage::KovraFileSystemImpl;
  using Integer = HostCtl::Adv::AdvancedIntegerOption;
  using Text = HostCtl::Adv::AdvancedStringOption;
  const auto kovra = [] { return StorageInfoImpl().GetFileSystemByLabel("datastore1"); };
  const auto nfs = [] { return std::move(StorageInfoImpl().GetV3NetworkFileSystems(nullptr)[0]); };
  const auto nfs41 = [] {
    return std::move(StorageInfoImpl().GetV41NetworkFileSystems(nullptr)[0]);
  };
  const auto snapshot = [] { return std::move(StorageInfoImpl().GetUnresolvedVolumes()[0]); };
  const auto options = [] { return HostFactory::GetHost()->GetAdvancedOptions(); };
  const auto option = [&](const char* group, const char* name) {
    return options()->GetOptionGroup(group)->GetOption(name);
  };
  const auto memory = [] { return HostFactory::GetHost()->GetHardwareInfo()->GetMemoryInfo(); };
  const auto heap = [&] { return std::move(memory()->GetHeaps()[0]); };
  const std::string ds1 = "datastore1", iso = "nfs-iso", home = "nfs41-home", db = "prod-db";
  const std::string ds1_device = "naa.6027a3e2001c3a2f9e4d7b8c1a2b3c01";
  const std::string db_device = "naa.6027a3e41b2c3d4e5f60718293a4b5c1";
  const struct {
    std::string operation;
    std::string object;
    std::function<void()> call;
  } calls[] = {
      {"StorageInfoImpl", "", [] { StorageInfoImpl(); }},
      {"GetFileSystemByUUID", "x", [] { StorageInfoImpl().GetFileSystemByUUID("x"); }},
      {"GetFileSystemByPath", "x", [] { StorageInfoImpl().GetFileSystemByPath("x"); }},
      {"GetFileSystemByUuidEx", "x", [] { StorageInfoImpl().GetFileSystemByUuidEx("x"); }},
      {"GetKovraFileSystemByUUID", "x", [] { StorageInfoImpl().GetKovraFileSystemByUUID("x"); }},
      {"GetKovraFileSystemByLabel", "x", [] { Impl::GetKovraFileSystemByLabel("x"); }},
      {"GetV41NetworkFileSystems", "", [] { StorageInfoImpl().GetV41NetworkFileSystems(nullptr); }},
      {"GetPBCache", "", [] { StorageInfoImpl().GetPBCache(); }},
      {"AutoFullMountVolumes", "", [] { StorageInfoImpl().AutoFullMountVolumes(); }},
      {"StorageInfoScopedCache", "", [] { HostCtl::Storage::StorageInfoScopedCache(false); }},
      {"GetType", ds1, [&] { kovra()->GetType(); }},
      {"GetArrakState", ds1, [&] { kovra()->GetArrakState(); }},
      {"IsAccessible", ds1, [&] { dynamic_cast<Impl&>(*kovra()).IsAccessible(); }},
      {"GetMajorVersion", ds1, [&] { kovra()->GetMajorVersion(); }},
      {"GetLvmUuid", ds1, [&] { kovra()->GetLvmUuid(); }},
      {"GetUsers", ds1, [&] { kovra()->GetUsers(true); }},
      {"GetPartitionNumber", ds1_device, [&] { kovra()->GetExtents()[0]->GetPartitionNumber(); }},
      {"GetHost", iso, [&] { nfs()->GetHost(); }},
      {"GetHosts", home, [&] { nfs41()->GetHosts(); }},
      {"IsMountReadOnly", iso, [&] { nfs()->IsMountReadOnly(); }},
      {"IsReadOnly", iso, [&] { nfs()->IsReadOnly(); }},
      {"IsProtocolEndpoint", iso, [&] { nfs()->IsProtocolEndpoint(); }},
      {"GetStrelnic", iso, [&] { nfs()->GetStrelnic(); }},
      {"IsAccessible", iso, [&] { nfs()->IsAccessible(); }},
      {"IsHidden", iso, [&] { nfs()->IsHidden(); }},
      {"GetMaxWriteTransferSize", iso, [&] { nfs()->GetMaxWriteTransferSize(); }},
      {"GetSecurityType", home, [&] { nfs41()->GetSecurityType(); }},
      {"GetStrelnicParameter", iso, [&] { nfs()->GetStrelnicParameter(); }},
      {"GetLvmUuid", db, [&] { snapshot()->GetLvmUuid(); }},
      {"GetUuid", db, [&] { snapshot()->GetUuid(); }},
      {"GetVolumeName", db, [&] { snapshot()->GetVolumeName(); }},
      {"Resignature", db, [&] { snapshot()->Resignature(); }},
      {"GetDeviceName", db_device, [&] { snapshot()->GetExtents()[0]->GetDeviceName(); }},
      {"GetPartitionNumber", db_device, [&] { snapshot()->GetExtents()[0]->GetPartitionNumber(); }},
      {"GetEnd", db_device, [&] { snapshot()->GetExtents()[0]->GetEnd(); }},
      {"GetHost", "", [] { HostFactory::GetHost(); }},
      {"GetStorageInfo", "", [] { HostFactory::GetHost()->GetStorageInfo(); }},
      {"GetHardwareInfo", "", [] { HostFactory::GetHost()->GetHardwareInfo(); }},
      {"GetMemoryInfo", "", [&] { memory(); }},
      {"GetHeaps", "", [&] { memory()->GetHeaps(); }},
      {"GetName", "kovra3", [&] { heap()->GetName(); }},
      {"GetCurrentSize", "kovra3", [&] { heap()->GetCurrentSize(); }},
      {"GetMaxSize", "kovra3", [&] { heap()->GetMaxSize(); }},
      {"GetOptionGroup", "Kovra3", [&] { options()->GetOptionGroup("Kovra3"); }},
      {"GetOption", "Kovra3/MaxHeapSizeMB", [&] { option("Kovra3", "MaxHeapSizeMB"); }},
      {"GetName", "MaxHeapSizeMB", [&] { option("Kovra3", "MaxHeapSizeMB")->GetName(); }},
      {"GetValue", "Kovra3/MaxHeapSizeMB",
       [&] { dynamic_cast<Integer&>(*option("Kovra3", "MaxHeapSizeMB")).GetValue(); }},
      {"GetName", "Syslog/LogHost", [&] { option("Syslog", "LogHost")->GetName(); }},
      {"GetValue", "LogHost",
       [&] { dynamic_cast<Text&>(*option("Syslog", "LogHost")).GetValue(); }},
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
