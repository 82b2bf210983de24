// A host failure in every operation the NFS v3 commands call (where the
// other tests of this group fire none): the exact report, the result, and
// what the host keeps. The fault-coverage check relies on these cases.
#include "commands/nfs/nfs_volume_add.h"
#include "commands/nfs/nfs_volume_list.h"
#include "commands/nfs/nfs_volume_param.h"
#include "tests/commands/fault_case.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::NFSVolumeAdd;
using FileSystem::NFSVolumeList;
using FileSystem::NFSVolumeParamGet;
using FileSystem::NFSVolumeParamSet;
using Json = nlohmann::json;

// The default host lists three NFS v3 mounts (pe-vvol0 is hidden and a
// protocol endpoint): nfs-iso, nfs-backup, nfs-legacy.
const size_t kMounts = 3;

FaultCase ListRowFails(const std::string& operation) {
  return FaultCase("ListRow" + operation + "Fails", New<NFSVolumeList>)
      .Fault(operation, "nfs-iso", 0, 1)
      .Errors({"Error getting data for mount 'nfs-iso': " + operation + " failed, skipping."})
      .Rows(kMounts - 1);
}

FaultCase ParamGetRowFails(const std::string& operation) {
  return FaultCase("ParamGetRow" + operation + "Fails", New<NFSVolumeParamGet>)
      .Args({"-v", "all"})
      .Fault(operation, "nfs-iso", 0, 1)
      .Errors({"Error getting params for mount 'nfs-iso': " + operation + " failed, skipping."})
      .Rows(kMounts - 1);
}

// A failure of the whole run: `operation` fails for every object.
FaultCase RunFails(const std::string& name, CommandMaker make, std::vector<std::string> args,
                   const std::string& operation) {
  return FaultCase(name, std::move(make))
      .Args(std::move(args))
      .Fault(operation)
      .Errors({operation + " failed"});
}

const FaultCase kCases[] = {
    RunFails("AddFails", New<NFSVolumeAdd>, {"-H", "192.0.2.10", "-s", "/new", "-v", "new"},
             "AddNetworkFileSystem"),
    // The add has happened: a failing setter leaves the volume configured
    // (and unmounted), as the command is specified.
    FaultCase("AddReadOnlyFails", New<NFSVolumeAdd>)
        .Args({"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-r"})
        .Fault("SetReadOnly")
        .Errors({"SetReadOnly failed"})
        .Changes([](const Json& before, const Json& after) {
          const Json added = FindVolume(after, "new");
          ASSERT_FALSE(added.is_null());
          EXPECT_EQ(added["mounted"], false);
          EXPECT_EQ(added["nfs"]["read_only"], false);
          Json rest = after;
          rest["volumes"].erase(rest["volumes"].size() - 1);
          EXPECT_EQ(rest, before);
        }),

    RunFails("ListStorageInfoFails", New<NFSVolumeList>, {}, "StorageInfoImpl"),
    RunFails("ListHiddenFilterFails", New<NFSVolumeList>, {}, "IsHidden"),
    ListRowFails("GetHost"),
    ListRowFails("GetStrelnic"),
    ListRowFails("IsAccessible"),
    ListRowFails("IsMounted"),
    ListRowFails("IsReadOnly"),
    ListRowFails("IsProtocolEndpoint"),
    ListRowFails("GetArrakState"),

    RunFails("ParamGetStorageInfoFails", New<NFSVolumeParamGet>, {"-v", "all"}, "StorageInfoImpl"),
    RunFails("ParamGetFetchFails", New<NFSVolumeParamGet>, {"-v", "all"},
             "GetV3NetworkFileSystems"),
    RunFails("ParamGetPeFilterFails", New<NFSVolumeParamGet>, {"-v", "all"}, "IsProtocolEndpoint"),
    ParamGetRowFails("GetMaxQueueDepth"),
    ParamGetRowFails("GetMaxWriteTransferSize"),
    ParamGetRowFails("GetStrelnicParameter"),

    RunFails("ParamSetStorageInfoFails", New<NFSVolumeParamSet>, {"-v", "nfs-iso", "-q", "8"},
             "StorageInfoImpl"),
    RunFails("ParamSetPeFilterFails", New<NFSVolumeParamSet>, {"-v", "nfs-iso", "-q", "8"},
             "IsProtocolEndpoint"),
    RunFails("ParamSetNameFails", New<NFSVolumeParamSet>, {"-v", "nfs-iso", "-q", "8"},
             "GetVolumeName"),
    FaultCase("ParamSetQueueDepthFails", New<NFSVolumeParamSet>)
        .Args({"-v", "nfs-iso", "-q", "8"})
        .Fault("SetMaxQueueDepth", "nfs-iso")
        .Errors({"Error setting params for mount 'nfs-iso': SetMaxQueueDepth failed"}),
};

class NfsFaultTest : public FaultCaseTest {};

TEST_P(NfsFaultTest, ReportsTheFailureAndKeepsTheHostSound) { Check(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Faults, NfsFaultTest, ::testing::ValuesIn(kCases), FaultCaseName());

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
