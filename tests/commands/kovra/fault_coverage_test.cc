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

const char kDatastore1Uuid[] = "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3";  // as LookupFails
const char kDatastore1Mount[] = "/kovra/volumes/5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3";
const char kDatastore1Device[] = "naa.600508b1001c3a2f9e4d7b8c1a2b3c01";
const char kDatastore2Mount[] = "/kovra/volumes/60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3";
const char kProdDbDevice[] = "naa.624a93701b2c3d4e5f60718293a4b5c1";
// The default host: 8 extents of discovered Kovra volumes (datastore1 has
// one), 7 discovered Kovra volumes (one unmounted), 2 unresolved snapshots
// with one extent each.
const size_t kExtents = 8;
const size_t kKovra = 7;

FaultCase ExtentListRowFails(const std::string& operation) {
  return RowFails("ExtentList", New<KovraExtentList>, {}, operation,
                  operation == "GetPartitionNumber" ? kDatastore1Device : "datastore1",
                  std::string("Error getting data for filesystem on '") + kDatastore1Mount + "': ",
                  kExtents - 1);
}

// datastore2 (Kovra-6, SCSI, ATS devices) is the one whose extents decide
// its upgrade modes.
FaultCase LockModeListRowFails(const std::string& operation) {
  const bool extents = operation == "GetExtents";
  return RowFails("LockModeList", New<KovraVolumeLockModeList>, {}, operation,
                  extents ? "datastore2" : "datastore1",
                  std::string("Error getting data for filesystem on '") +
                      (extents ? kDatastore2Mount : kDatastore1Mount) + "': ",
                  kKovra - 1);
}

FaultCase LockModeListFails(const std::string& operation) {
  return RunFails("LockModeList" + operation + "Fails", New<KovraVolumeLockModeList>, {},
                  operation);
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

// datastore1 is ATS-only: going back to SCSI writes.
FaultCase LockModeSetFails(const std::string& operation) {
  return RunFails("LockModeSet" + operation + "Fails", New<KovraVolumeLockModeSet>,
                  {"-l", "datastore1", "-s"}, operation);
}

FaultCase UnmapFails(const std::string& operation) {
  return RunFails("Unmap" + operation + "Fails", New<KovraVolumeUnmap>, {"-l", "datastore1"},
                  operation);
}

const std::vector<FaultCase> kCases = Join({
    {
        RunFails("ExtentListStorageInfoFails", New<KovraExtentList>, {}, "StorageInfoImpl"),
        // Resignature sets true on every path after its argument checks.
        FaultCase("ResignatureSelectionFails", New<KovraSnapshotResignature>)
            .Args({"-l", "prod-db"})
            .Fault("GetVolumeName", "prod-db")
            .Errors({"GetVolumeName failed"})
            .True(),
        RunFails("LockModeListByLabelFails", New<KovraVolumeLockModeList>, {"-l", "datastore1"},
                 "GetKovraFileSystemByLabel"),
        RunFails("LockModeListByUuidFails", New<KovraVolumeLockModeList>, {"-u", kDatastore1Uuid},
                 "GetKovraFileSystemByUUID"),
        // Naming the unreadable row fails too: that ends the run.
        FaultCase("LockModeListMountPointFails", New<KovraVolumeLockModeList>)
            .Fault("GetLockMode", "datastore1", 0, 1)
            .Fault("GetMountPoint", "datastore1")
            .Errors({"GetMountPoint failed"}),
        RunFails("ReclaimGetFails", New<KovraReclaimConfigGet>, {"-l", "datastore1"},
                 "GetUnmapProperty"),
        RunFails("ReclaimSetFails", New<KovraReclaimConfigSet>, {"-l", "datastore1", "-p", "none"},
                 "SetUnmapProperty"),
        RunFails("UnmapByUuidFails", New<KovraVolumeUnmap>, {"-u", kDatastore1Uuid},
                 "GetKovraFileSystemByUUID"),
        RunFails("UpgradeByUuidFails", New<KovraVolumeUpgrade>, {"-u", kDatastore1Uuid},
                 "GetKovraFileSystemByUUID"),
        RunFails("UpgradeFails", New<KovraVolumeUpgrade>, {"-l", "legacy3"}, "ConvertToVersion5"),
    },
    ForEach(ExtentListRowFails, {"GetVolumeName", "GetUuid", "GetPartitionNumber"}),
    ForEach(SnapshotExtentFails, {"GetPartitionNumber", "GetEnd"}),
    ForEach(PBCacheGetFails, {"GetHost", "GetHardwareInfo", "GetMemoryInfo", "GetName",
                              "GetCurrentSize", "GetMaxSize", "GetStorageInfo", "StorageInfoImpl",
                              "GetPBCache", "GetHeaps", "GetStats"}),
    ForEach(PBCacheResetFails,
            {"GetHost", "GetStorageInfo", "StorageInfoImpl", "GetPBCache", "ResetStats"}),
    ForEach(LockModeListFails,
            {"GetAdvancedOptions", "GetOption", "GetOptionGroup", "GetValue", "GetHost",
             "GetStorageInfo", "StorageInfoImpl", "GetKovraFileSystems"}),
    ForEach(LockModeListRowFails, {"GetVolumeName", "GetUuid", "GetType", "GetMajorVersion",
                                   "GetLockMode", "GetExtents"}),
    ForEach(LockModeSetFails, {"GetLockMode", "SetLockMode"}),
    ForEach(UnmapFails, {"IsMounted", "IsAccessible", "UnmapVolume"}),
    LookupFails("ReclaimGet", New<KovraReclaimConfigGet>, {}),
    LookupFails("ReclaimSet", New<KovraReclaimConfigSet>, {"-p", "high"}),
    LookupFails("HostList", New<KovraVolumeHostList>, {}),
    LookupFails("LockModeSet", New<KovraVolumeLockModeSet>, {"-s"}),
});

FAULT_CASE_SUITE(KovraFaultTest, kCases);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
