// A host failure in every operation the NFS v4.1 commands call (where the
// other tests of this group fire none): the exact report, the result, and
// what the host keeps. The fault-coverage check relies on these cases.
#include "commands/nfs41/nfs41_volume_add.h"
#include "commands/nfs41/nfs41_volume_list.h"
#include "commands/nfs41/nfs41_volume_param.h"
#include "commands/nfs41/nfs41_volume_remove.h"
#include "tests/commands/fault_case.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::NFS41VolumeAdd;
using FileSystem::NFS41VolumeList;
using FileSystem::NFS41VolumeParamGet;
using FileSystem::NFS41VolumeParamSet;
using FileSystem::NFS41VolumeRemove;

// The default host with a second NFS v4.1 mount, so that a failing row
// shows the others still listed.
void TwoV41Mounts(nlohmann::json& host) {
  host["volumes"].push_back({{"type", "NFS41"},
                             {"name", "nfs41-b"},
                             {"uuid", "f5a6b7c8-d9e0f1a2"},
                             {"nfs", {{"hosts", {"192.0.2.10"}}, {"share", "/b"}}}});
}

void NoPreunmount(nlohmann::json& host) { host["features"]["284"] = false; }

FaultCase ListRowFails(const std::string& operation) {
  return RowFails("ListRow", New<NFS41VolumeList>, {}, operation, "nfs41-home",
                  "Error getting data for mount 'nfs41-home': ", 1)
      .Host(TwoV41Mounts);
}

FaultCase ParamGetRowFails(const std::string& operation) {
  return RowFails("ParamGetRow", New<NFS41VolumeParamGet>, {"-v", "all"}, operation, "nfs41-home",
                  "Error getting params for mount 'nfs41-home': ", 1)
      .Host(TwoV41Mounts);
}

const std::vector<std::string> kAdd = {"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-p"};
const std::vector<std::string> kReadOnly = {"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-r"};
const std::vector<std::string> kAll = {"-v", "all"};
const std::vector<std::string> kSet = {"-v", "nfs41-home", "-q", "8"};

const std::vector<FaultCase> kCases = Join({
    {
        RunFails("AddStorageInfoFails", New<NFS41VolumeAdd>, kAdd, "StorageInfoImpl"),
        RunFails("AddFails", New<NFS41VolumeAdd>, kAdd, "AddV41NetworkFileSystem"),
        // The add has happened: a failing setter leaves the volume configured
        // (and unmounted), as the command is specified.
        RunFails("AddProtocolEndpointFails", New<NFS41VolumeAdd>, kAdd, "SetProtocolEndpoint")
            .Changes(AddedUnmounted("pe")),
        RunFails("AddReadOnlyFails", New<NFS41VolumeAdd>, kReadOnly, "SetReadOnly")
            .Changes(AddedUnmounted("read_only")),
        // A failed mount is undone; when that fails too its message replaces the mount's.
        RunFails("AddMountFails", New<NFS41VolumeAdd>, kAdd, "Mount").Host(NoPreunmount),
        RunFails("AddRollbackFails", New<NFS41VolumeAdd>, kReadOnly, "RemoveNetworkFileSystem")
            .Host(NoPreunmount)
            .Fault("Mount")
            .Changes(AddedUnmounted("pe")),
        FaultCase("RemoveFails", New<NFS41VolumeRemove>)
            .Args({"-v", "nfs41-home"})
            .Fault("RemoveNetworkFileSystem")
            .Errors({"RemoveNetworkFileSystem failed"})
            .Notices({"PreUnmount(nfs41-home)", "FailedUnmount(nfs41-home)"}),

        RunFails("ListStorageInfoFails", New<NFS41VolumeList>, {}, "StorageInfoImpl"),
        RunFails("ListHiddenFilterFails", New<NFS41VolumeList>, {}, "IsHidden"),
        RunFails("ListFetchFails", New<NFS41VolumeList>, {}, "GetV41NetworkFileSystems"),
    },
    ForEach(ListRowFails,
            {"GetVolumeName", "GetHosts", "GetShare", "IsAccessible", "IsMounted",
             "IsMountReadOnly", "IsProtocolEndpoint", "GetArrakState", "GetSecurityType"}),
    ForEach(ParamGetRowFails,
            {"GetMaxQueueDepth", "GetMaxReadTransferSize", "GetMaxWriteTransferSize"}),
    NasParamRunFails(New<NFS41VolumeParamGet>, New<NFS41VolumeParamSet>, "GetV41NetworkFileSystems",
                     kAll, kSet),
});

FAULT_CASE_SUITE(Nfs41FaultTest, kCases);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
