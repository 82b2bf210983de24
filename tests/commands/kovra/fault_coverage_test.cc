// A host failure in every operation the Kovra commands call (where the other
// tests of this group fire none): the exact report, the result, and what the
// host keeps. The fault-coverage check relies on these cases.
#include "commands/kovra/extent_list.h"
#include "commands/kovra/host_list.h"
#include "commands/kovra/lockmode_list.h"
#include "commands/kovra/lockmode_set.h"
#include "commands/kovra/pbcache.h"
#include "commands/kovra/reclaim_config.h"
#include "commands/kovra/snapshot_extent_list.h"
#include "commands/kovra/snapshot_resignature.h"
#include "commands/kovra/volume_unmap.h"
#include "commands/kovra/volume_upgrade.h"
#include "tests/commands/fault_case.h"

namespace TarvexCli {
namespace Testing {
namespace {

using namespace FileSystem;  // the command classes

const char kDatastore1Uuid[] = "5f1e2d3c-8a7b6c5d-1e2f-000c29a1b2c3";
const char kDatastore1Mount[] = "/kovra/volumes/5f1e2d3c-8a7b6c5d-1e2f-000c29a1b2c3";
const char kDatastore1Device[] = "naa.600508b1001c3a2f9e4d7b8c1a2b3c01";
const char kDatastore2Mount[] = "/kovra/volumes/60a2b4c6-1d3e5f70-2a4b-000c29a1b2c3";
const char kProdDbDevice[] = "naa.624a93701b2c3d4e5f60718293a4b5c1";
// The default host: 8 extents of discovered Kovra volumes (datastore1 has
// one), 6 mounted Kovra volumes, 2 unresolved snapshots with one extent each.
const size_t kExtents = 8;
const size_t kMountedKovra = 6;

FaultCase RunFails(const std::string& name, CommandMaker make, std::vector<std::string> args,
                   const std::string& operation) {
  return FaultCase(name, std::move(make))
      .Args(std::move(args))
      .Fault(operation)
      .Errors({operation + " failed"});
}

// `operation` fails while a single-volume command looks its volume up
// (GetSingleKovraVolume): the message unchanged, nothing done.
std::vector<FaultCase> LookupFails(const std::string& command, CommandMaker make,
                                   const std::vector<std::string>& extra) {
  std::vector<FaultCase> cases;
  for (const char* operation : {"GetHost", "GetStorageInfo", "StorageInfoImpl",
                                "GetKovraFileSystemByLabel", "GetKovraFileSystemByUUID"}) {
    std::vector<std::string> args = {"-l", "datastore1"};
    if (std::string(operation) == "GetKovraFileSystemByUUID") args = {"-u", kDatastore1Uuid};
    args.insert(args.end(), extra.begin(), extra.end());
    cases.push_back(RunFails(command + operation + "Fails", make, args, operation));
  }
  return cases;
}

FaultCase ExtentListRowFails(const std::string& operation, const std::string& object) {
  return FaultCase("ExtentList" + operation + "Fails", New<KovraExtentList>)
      .Fault(operation, object, 0, 1)
      .Errors({std::string("Error getting data for filesystem on '") + kDatastore1Mount +
               "': " + operation + " failed, skipping."})
      .Rows(kExtents - 1);
}

FaultCase LockModeListRowFails(const std::string& operation, const std::string& volume,
                               const std::string& mount_point) {
  return FaultCase("LockModeList" + operation + "Fails", New<KovraVolumeLockModeList>)
      .Fault(operation, volume, 0, 1)
      .Errors({"Error getting data for filesystem on '" + mount_point + "': " + operation +
               " failed, skipping."})
      .Rows(kMountedKovra - 1);
}

FaultCase PBCacheGetFails(const std::string& operation) {
  return FaultCase("PBCacheGet" + operation + "Fails", New<KovraPBCacheGet>)
      .Fault(operation)
      .Errors({"Error getting data for Kovra heap size."});
}

FaultCase PBCacheResetFails(const std::string& operation) {
  return FaultCase("PBCacheReset" + operation + "Fails", New<KovraPBCacheReset>)
      .Fault(operation)
      .Errors({"Error resetting Kovra Pointer Block cache statistics."});
}

FaultCase SnapshotExtentFails(const std::string& operation) {
  return FaultCase("SnapshotExtentList" + operation + "Fails", New<KovraSnapshotExtentList>)
      .Fault(operation, kProdDbDevice)
      .Errors({operation + " failed"})
      .Rows(1);  // the other snapshot's extent
}

std::vector<FaultCase> Cases() {
  std::vector<FaultCase> cases = {
      RunFails("ExtentListStorageInfoFails", New<KovraExtentList>, {}, "StorageInfoImpl"),
      ExtentListRowFails("GetVolumeName", "datastore1"),
      ExtentListRowFails("GetUuid", "datastore1"),
      ExtentListRowFails("GetPartitionNumber", kDatastore1Device),

      SnapshotExtentFails("GetPartitionNumber"),
      SnapshotExtentFails("GetEnd"),
      // Resignature sets true on every path after its argument checks.
      FaultCase("ResignatureSelectionFails", New<KovraSnapshotResignature>)
          .Args({"-l", "prod-db"})
          .Fault("GetVolumeName", "prod-db")
          .Errors({"GetVolumeName failed"})
          .True(),

      PBCacheGetFails("GetHost"),
      PBCacheGetFails("GetHardwareInfo"),
      PBCacheGetFails("GetMemoryInfo"),
      PBCacheGetFails("GetName"),
      PBCacheGetFails("GetCurrentSize"),
      PBCacheGetFails("GetMaxSize"),
      PBCacheGetFails("GetStorageInfo"),
      PBCacheGetFails("StorageInfoImpl"),
      PBCacheGetFails("GetPBCache"),
      PBCacheResetFails("GetHost"),
      PBCacheResetFails("GetStorageInfo"),
      PBCacheResetFails("StorageInfoImpl"),
      PBCacheResetFails("GetPBCache"),

      RunFails("LockModeListOptionsFail", New<KovraVolumeLockModeList>, {}, "GetAdvancedOptions"),
      RunFails("LockModeListOptionGroupFails", New<KovraVolumeLockModeList>, {}, "GetOptionGroup"),
      RunFails("LockModeListOptionValueFails", New<KovraVolumeLockModeList>, {}, "GetValue"),
      RunFails("LockModeListHostFails", New<KovraVolumeLockModeList>, {}, "GetHost"),
      RunFails("LockModeListStorageInfoFails", New<KovraVolumeLockModeList>, {}, "GetStorageInfo"),
      RunFails("LockModeListStorageInfoImplFails", New<KovraVolumeLockModeList>, {},
               "StorageInfoImpl"),
      RunFails("LockModeListAllFails", New<KovraVolumeLockModeList>, {}, "GetKovraFileSystems"),
      RunFails("LockModeListByLabelFails", New<KovraVolumeLockModeList>, {"-l", "datastore1"},
               "GetKovraFileSystemByLabel"),
      RunFails("LockModeListByUuidFails", New<KovraVolumeLockModeList>, {"-u", kDatastore1Uuid},
               "GetKovraFileSystemByUUID"),
      LockModeListRowFails("GetVolumeName", "datastore1", kDatastore1Mount),
      LockModeListRowFails("GetUuid", "datastore1", kDatastore1Mount),
      LockModeListRowFails("GetType", "datastore1", kDatastore1Mount),
      LockModeListRowFails("GetMajorVersion", "datastore1", kDatastore1Mount),
      LockModeListRowFails("GetLockMode", "datastore1", kDatastore1Mount),
      // datastore2 (Kovra-6, SCSI, ATS devices) is the one whose extents
      // decide its upgrade modes.
      LockModeListRowFails("GetExtents", "datastore2", kDatastore2Mount),
      // Naming the unreadable row fails too: that ends the run.
      FaultCase("LockModeListMountPointFails", New<KovraVolumeLockModeList>)
          .Fault("GetLockMode", "datastore1", 0, 1)
          .Fault("GetMountPoint", "datastore1")
          .Errors({"GetMountPoint failed"}),

      RunFails("UnmapByUuidFails", New<KovraVolumeUnmap>, {"-u", kDatastore1Uuid},
               "GetKovraFileSystemByUUID"),
      RunFails("UpgradeByUuidFails", New<KovraVolumeUpgrade>, {"-u", kDatastore1Uuid},
               "GetKovraFileSystemByUUID"),
  };
  for (auto&& more : {LookupFails("ReclaimGet", New<KovraReclaimConfigGet>, {}),
                      LookupFails("ReclaimSet", New<KovraReclaimConfigSet>, {"-p", "high"}),
                      LookupFails("HostList", New<KovraVolumeHostList>, {}),
                      LookupFails("LockModeSet", New<KovraVolumeLockModeSet>, {"-s"})}) {
    cases.insert(cases.end(), more.begin(), more.end());
  }
  return cases;
}

class KovraFaultTest : public FaultCaseTest {};

TEST_P(KovraFaultTest, ReportsTheFailureAndKeepsTheHostSound) { Check(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Faults, KovraFaultTest, ::testing::ValuesIn(Cases()), FaultCaseName());

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
