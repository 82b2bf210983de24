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

// The default host lists three NFS v3 mounts (pe-vobj0 is hidden and a
// protocol endpoint): nfs-iso, nfs-backup, nfs-legacy.
FaultCase ListRowFails(const std::string& operation) {
  return RowFails("ListRow", New<NFSVolumeList>, {}, operation, "nfs-iso",
                  "Error getting data for mount 'nfs-iso': ", 2);
}

FaultCase ParamGetRowFails(const std::string& operation) {
  return RowFails("ParamGetRow", New<NFSVolumeParamGet>, {"-v", "all"}, operation, "nfs-iso",
                  "Error getting params for mount 'nfs-iso': ", 2);
}

const std::vector<std::string> kAll = {"-v", "all"};
const std::vector<std::string> kSet = {"-v", "nfs-iso", "-q", "8"};

const std::vector<FaultCase> kCases = Join({
    {
        RunFails("AddFails", New<NFSVolumeAdd>, {"-H", "192.0.2.10", "-s", "/new", "-v", "new"},
                 "AddNetworkFileSystem"),
        // The add has happened: a failing setter leaves the volume configured
        // (and unmounted), as the command is specified.
        RunFails("AddReadOnlyFails", New<NFSVolumeAdd>,
                 {"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-r"}, "SetReadOnly")
            .Changes(AddedUnmounted("read_only")),
        RunFails("AddProtocolEndpointFails", New<NFSVolumeAdd>,
                 {"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-p"}, "SetProtocolEndpoint")
            .Changes(AddedUnmounted("pe")),

        RunFails("ListStorageInfoFails", New<NFSVolumeList>, {}, "StorageInfoImpl"),
        RunFails("ListHiddenFilterFails", New<NFSVolumeList>, {}, "IsHidden"),
        RunFails("ListFetchFails", New<NFSVolumeList>, {}, "GetV3NetworkFileSystems"),
    },
    ForEach(ListRowFails, {"GetHost", "GetShare", "GetStrelnic", "IsAccessible", "IsMounted",
                           "IsReadOnly", "IsProtocolEndpoint", "GetArrakState"}),
    ForEach(ParamGetRowFails, {"GetMaxQueueDepth", "GetMaxReadTransferSize",
                               "GetMaxWriteTransferSize", "GetStrelnicParameter"}),
    NasParamRunFails(New<NFSVolumeParamGet>, New<NFSVolumeParamSet>, "GetV3NetworkFileSystems",
                     kAll, kSet),
    {
        FaultCase("ParamSetQueueDepthFails", New<NFSVolumeParamSet>)
            .Args(kSet)
            .Fault("SetMaxQueueDepth", "nfs-iso")
            .Errors({"Error setting params for mount 'nfs-iso': SetMaxQueueDepth failed"}),
    },
});

FAULT_CASE_SUITE(NfsFaultTest, kCases);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
