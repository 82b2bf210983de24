// A host failure in every operation the NFS v4.1 commands call (where the
// other tests of this group fire none): the exact report, the result, and
// what the host keeps. The fault-coverage check relies on these cases.
#include "commands/nfs41/nfs41_volume_add.h"
#include "commands/nfs41/nfs41_volume_list.h"
#include "commands/nfs41/nfs41_volume_param.h"
#include "tests/commands/fault_case.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::NFS41VolumeAdd;
using FileSystem::NFS41VolumeList;
using FileSystem::NFS41VolumeParamGet;
using FileSystem::NFS41VolumeParamSet;
using Json = nlohmann::json;

// The default host with a second NFS v4.1 mount, so that a failing row
// shows the others still listed.
void TwoV41Mounts(Json& host) {
  host["volumes"].push_back({{"type", "NFS41"},
                             {"name", "nfs41-b"},
                             {"uuid", "f5a6b7c8-d9e0f1a2"},
                             {"nfs", {{"hosts", {"192.0.2.10"}}, {"share", "/b"}}}});
}

FaultCase ListRowFails(const std::string& operation) {
  return FaultCase("ListRow" + operation + "Fails", New<NFS41VolumeList>)
      .Host(TwoV41Mounts)
      .Fault(operation, "nfs41-home", 0, 1)
      .Errors({"Error getting data for mount 'nfs41-home': " + operation + " failed, skipping."})
      .Rows(1);
}

FaultCase ParamGetRowFails(const std::string& operation) {
  return FaultCase("ParamGetRow" + operation + "Fails", New<NFS41VolumeParamGet>)
      .Host(TwoV41Mounts)
      .Args({"-v", "all"})
      .Fault(operation, "nfs41-home", 0, 1)
      .Errors({"Error getting params for mount 'nfs41-home': " + operation + " failed, skipping."})
      .Rows(1);
}

FaultCase RunFails(const std::string& name, CommandMaker make, std::vector<std::string> args,
                   const std::string& operation) {
  return FaultCase(name, std::move(make))
      .Args(std::move(args))
      .Fault(operation)
      .Errors({operation + " failed"});
}

const std::vector<std::string> kAdd = {"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-p"};

const FaultCase kCases[] = {
    RunFails("AddStorageInfoFails", New<NFS41VolumeAdd>, kAdd, "StorageInfoImpl"),
    RunFails("AddFails", New<NFS41VolumeAdd>, kAdd, "AddV41NetworkFileSystem"),
    // The add has happened: a failing setter leaves the volume configured
    // (and unmounted), as the command is specified.
    FaultCase("AddProtocolEndpointFails", New<NFS41VolumeAdd>)
        .Args(kAdd)
        .Fault("SetProtocolEndpoint")
        .Errors({"SetProtocolEndpoint failed"})
        .Changes([](const Json& before, const Json& after) {
          const Json added = FindVolume(after, "new");
          ASSERT_FALSE(added.is_null());
          EXPECT_EQ(added["type"], "NFS41");
          EXPECT_EQ(added["mounted"], false);
          EXPECT_EQ(added["nfs"]["pe"], false);
          Json rest = after;
          rest["volumes"].erase(rest["volumes"].size() - 1);
          EXPECT_EQ(rest, before);
        }),

    RunFails("ListStorageInfoFails", New<NFS41VolumeList>, {}, "StorageInfoImpl"),
    RunFails("ListHiddenFilterFails", New<NFS41VolumeList>, {}, "IsHidden"),
    ListRowFails("GetVolumeName"),
    ListRowFails("GetHosts"),
    ListRowFails("GetShare"),
    ListRowFails("IsAccessible"),
    ListRowFails("IsMounted"),
    ListRowFails("IsMountReadOnly"),
    ListRowFails("IsProtocolEndpoint"),
    ListRowFails("GetArrakState"),

    RunFails("ParamGetStorageInfoFails", New<NFS41VolumeParamGet>, {"-v", "all"},
             "StorageInfoImpl"),
    RunFails("ParamGetFetchFails", New<NFS41VolumeParamGet>, {"-v", "all"},
             "GetV41NetworkFileSystems"),
    RunFails("ParamGetPeFilterFails", New<NFS41VolumeParamGet>, {"-v", "all"},
             "IsProtocolEndpoint"),
    ParamGetRowFails("GetMaxQueueDepth"),
    ParamGetRowFails("GetMaxReadTransferSize"),

    RunFails("ParamSetStorageInfoFails", New<NFS41VolumeParamSet>, {"-v", "nfs41-home", "-q", "8"},
             "StorageInfoImpl"),
    RunFails("ParamSetFetchFails", New<NFS41VolumeParamSet>, {"-v", "nfs41-home", "-q", "8"},
             "GetV41NetworkFileSystems"),
    RunFails("ParamSetPeFilterFails", New<NFS41VolumeParamSet>, {"-v", "nfs41-home", "-q", "8"},
             "IsProtocolEndpoint"),
    RunFails("ParamSetNameFails", New<NFS41VolumeParamSet>, {"-v", "nfs41-home", "-q", "8"},
             "GetVolumeName"),
};

class Nfs41FaultTest : public FaultCaseTest {};

TEST_P(Nfs41FaultTest, ReportsTheFailureAndKeepsTheHostSound) { Check(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Faults, Nfs41FaultTest, ::testing::ValuesIn(kCases), FaultCaseName());

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
