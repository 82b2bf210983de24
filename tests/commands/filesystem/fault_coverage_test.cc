// A host failure in every operation the file-system commands call (where the
// other tests of this group fire none): the exact report, the result, and
// what the host keeps. The fault-coverage check relies on these cases.
#include "commands/filesystem/host_action.h"
#include "commands/filesystem/volume_list.h"
#include "commands/filesystem/volume_mount.h"
#include "commands/filesystem/volume_unmount.h"
#include "tests/commands/fault_case.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::VolumeAutomount;
using FileSystem::VolumeList;
using FileSystem::VolumeMount;
using FileSystem::VolumeRescan;
using FileSystem::VolumeUnmount;
using Json = nlohmann::json;

const char kDatastore1Mount[] = "/kovra/volumes/5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3";
const char kDatastore2Uuid[] = "60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3";
// The default host lists 14 volumes (new-lun is not discovered yet).
const size_t kVolumes = 14;

// A list row of datastore1 whose `operation` fails once.
FaultCase ListRowFails(const std::string& operation) {
  return RowFails("ListRow", New<VolumeList>, {}, operation, "datastore1",
                  std::string("Error getting data for filesystem on '") + kDatastore1Mount + "': ",
                  kVolumes - 1);
}

// Only datastore1 and datastore2 mounted among the Kovra volumes.
void TwoKovraMounted(Json& host) {
  for (auto& volume : host["volumes"]) {
    if (volume["type"] == "Kovra" && volume["name"] != "datastore1" &&
        volume["name"] != "datastore2") {
      volume["mounted"] = false;
    }
  }
}

// The host after the run differs from the one before only in the volumes
// named here being unmounted for good and in `signals` more IORM signals.
FaultCase::ChangeCheck Unmounted(std::vector<std::string> names, int signals) {
  return [names, signals](const Json& before, const Json& after) {
    Json expected = before;
    for (auto& volume : expected["volumes"]) {
      for (const auto& name : names) {
        if (volume["name"] == name) volume["mounted"] = volume["persistent"] = false;
      }
    }
    expected["iorm"]["signals"] = before["iorm"]["signals"].get<int>() + signals;
    EXPECT_EQ(after, expected);
  };
}

const std::vector<FaultCase> kCases = Join({
    ForEach(ListRowFails, {"GetType", "GetMajorVersion", "GetVolumeName", "GetUsedSpace",
                           "GetCapacity", "IsMounted"}),
    {
        RunFails("ListStorageInfoFails", New<VolumeList>, {}, "StorageInfoImpl"),
        RunFails("ListFetchFails", New<VolumeList>, {}, "GetFileSystems"),
        RunFails("ListByUuidFails", New<VolumeList>, {"-u", kDatastore2Uuid},
                 "GetFileSystemByUuidEx"),
        // With --ignore-errors the row is left out silently.
        FaultCase("ListIgnoresAnUnreadableRow", New<VolumeList>)
            .Args({"--ignore-errors"})
            .Fault("GetCapacity", "datastore1", 0, 1)
            .Rows(kVolumes - 1),

        // datastore2 is mounted already: TryMount declines.
        RunFails("MountByUuidLookupFails", New<VolumeMount>, {"-u", kDatastore2Uuid},
                 "GetFileSystemByUUID"),
        RunFails("MountIsMountedCheckFails", New<VolumeMount>, {"-l", "datastore2"}, "IsMounted"),
        // nfs-legacy is unmounted; a NAS volume takes the explicit mount.
        RunFails("MountByLabelLookupFails", New<VolumeMount>, {"-l", "nfs-legacy"},
                 "GetFileSystemByLabel"),
        RunFails("MountFails", New<VolumeMount>, {"-l", "nfs-legacy"}, "Mount"),
        RunFails("RescanFails", New<VolumeRescan>, {}, "RescanKovra"),
        RunFails("AutomountFails", New<VolumeAutomount>, {}, "AutoFullMountVolumes"),

        RunFails("UnmountByLabelLookupFails", New<VolumeUnmount>, {"-l", "datastore2"},
                 "GetFileSystemByLabel")
            .Notices({}),
        RunFails("UnmountByPathLookupFails", New<VolumeUnmount>, {"-p", "/kovra/volumes/nfs-iso"},
                 "GetFileSystemByPath")
            .Notices({}),
        RunFails("UnmountByUuidLookupFails", New<VolumeUnmount>, {"-u", kDatastore2Uuid},
                 "GetFileSystemByUUID")
            .Notices({}),
        // Failures after the volume was found tell the agent the unmount failed.
        RunFails("UnmountIsMountedFails", New<VolumeUnmount>, {"-l", "datastore2"}, "IsMounted")
            .Notices({"FailedUnmount(datastore2)"}),
        RunFails("UnmountSignalFails", New<VolumeUnmount>, {"-l", "datastore2"}, "SignalIORM")
            .Notices({"FailedUnmount(datastore2)"}),
        FaultCase("UnmountNameForNoticeFails", New<VolumeUnmount>)
            .Args({"-l", "datastore2"})
            .Fault("GetVolumeName", "datastore2", 0, 1)
            .Errors({"GetVolumeName failed"})
            .Notices({"FailedUnmount(datastore2)"})
            .Changes(Unmounted({}, 1)),
        RunFails("UnmountAllListFails", New<VolumeUnmount>, {"-a"}, "GetKovraFileSystems")
            .Notices({}),
        // One volume that cannot be read is passed over; the others go.
        FaultCase("UnmountAllOneUuidFails", New<VolumeUnmount>)
            .Host(TwoKovraMounted)
            .Args({"-a"})
            .Fault("GetUuid", "datastore1")
            .Errors({"GetUuid failed"})
            .True()
            .Notices({"PreUnmount(datastore2)"})
            .Changes(Unmounted({"datastore2"}, 1)),
    },
});

FAULT_CASE_SUITE(FileSystemFaultTest, kCases);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
