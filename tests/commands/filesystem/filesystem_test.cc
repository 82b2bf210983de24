// The file-system commands (list, mount, unmount, rescan, automount) on the
// datastore host: results, refusals and host failures.
#include "commands/filesystem/host_action.h"
#include "commands/filesystem/volume_list.h"
#include "commands/filesystem/volume_mount.h"
#include "commands/filesystem/volume_unmount.h"
#include "hostctl/lib.h"
#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {
namespace {

// Kovra volumes of several versions and states, a mounted and an unmounted
// NAS volume, a boot partition.
nlohmann::json DatastoreHost() {
  return R"({
    "format": 1,
    "devices": [{"name": "naa.600a0b80001d3f2c", "ats": true},
                {"name": "naa.600a0b80001d3f2d", "ats": true}],
    "volumes": [
      {"type": "Kovra", "name": "ds-prod-01", "uuid": "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3",
       "capacity": 100, "used": 30,
       "kovra": {"version": 6, "lvm_uuid": "5f1e2d3b-11aa22bb-33cc-027a3ea1b2c3",
                 "extents": [{"device": "naa.600a0b80001d3f2c", "partition": 1}]}},
      {"type": "Kovra", "name": "ds-legacy", "uuid": "4a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c4",
       "capacity": 200, "used": 50,
       "kovra": {"version": 3, "lvm_uuid": "4a2b3c4c-11aa22bb-33cc-027a3ea1b2c4",
                 "extents": [{"device": "naa.600a0b80001d3f2d", "partition": 1}]}},
      {"type": "Kovra", "name": "ds-offline", "uuid": "3a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c5",
       "capacity": 300, "used": 0, "mounted": false, "persistent": false,
       "kovra": {"version": 5, "lvm_uuid": "3a2b3c4c-11aa22bb-33cc-027a3ea1b2c5",
                 "extents": [{"device": "naa.600a0b80001d3f2d", "partition": 2}]}},
      {"type": "Kovra", "name": "ds-busy", "uuid": "2a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c6",
       "capacity": 400, "used": 10, "busy": true,
       "kovra": {"version": 4, "lvm_uuid": "2a2b3c4c-11aa22bb-33cc-027a3ea1b2c6",
                 "extents": [{"device": "naa.600a0b80001d3f2d", "partition": 3}]}},
      {"type": "NFS", "name": "nas-iso", "uuid": "c0a80a0a-2f6e6673", "mount_point":
       "/kovra/volumes/c0a80a0a-2f6e6673", "capacity": 1000, "used": 400,
       "nfs": {"hosts": ["192.0.2.10"], "share": "/exports/iso"}},
      {"type": "vfat", "name": "BOOTBANK1", "uuid": "6a3b9c2d-44ef1e2a-0000-000000000000",
       "capacity": 4293918720, "used": 100000},
      {"type": "NFS", "name": "nas-old", "uuid": "c0a80a0b-2f6e6674", "mounted": false,
       "persistent": false, "nfs": {"hosts": ["192.0.2.10"], "share": "/exports/old"}}
    ]
  })"_json;
}

using namespace FileSystem;  // the command classes
using Messages = std::vector<std::string>;

const char kProdUuid[] = "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3";
const char kBusyUuid[] = "2a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c6";

class FileSystemTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    UseHost(DatastoreHost());
  }
  Messages Notices() const {
    Messages notices;
    for (const auto& n : notifications_) notices.push_back(n.event + "(" + n.input + ")");
    return notices;
  }
};

TEST_F(FileSystemTest, ListShowsEveryVolumeInHostOrderWithVersionTexts) {
  auto output = Run(*VolumeList::New());
  EXPECT_TRUE(Errors(*output).empty());
  auto rows = Rows(*output);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], (Row{{"Mount Point", std::string("/kovra/volumes/") + kProdUuid},
                          {"Volume Name", "ds-prod-01"},
                          {"UUID", kProdUuid},
                          {"Type", "Kovra-6"},
                          {"Mounted", "true"},
                          {"Size", "100"},
                          {"Free", "70"}}));
  Messages types;
  for (const auto& row : rows) types.push_back(row.at("Type"));
  EXPECT_EQ(types, (Messages{"Kovra-6", "Kovra-3", "Kovra-5", "Kovra-unknown version", "NFS",
                             "vfat", "NFS"}));
  EXPECT_EQ(rows[2]["Mounted"], "false");

  auto one = Run(*VolumeList::New(), {"--uuid", "c0a80a0a-2f6e6673"});
  ASSERT_EQ(Rows(*one).size(), 1u);
  EXPECT_EQ(Rows(*one)[0]["Volume Name"], "nas-iso");

  UseHost(R"({"format": 1})"_json);
  auto empty = Run(*VolumeList::New());
  EXPECT_TRUE(HasResult(*empty));
  EXPECT_TRUE(Rows(*empty).empty());
}

TEST_F(FileSystemTest, ListByUuidKeepsItsResultWhenTheMessageFails) {
  ArmFault("GetUuid", "nas-iso", "stale handle");
  ArmFault("GetMountPoint", "nas-iso", "gone", 2);
  auto output = Run(*VolumeList::New(), {"-u", "c0a80a0a-2f6e6673"});
  EXPECT_TRUE(HasResult(*output));
  EXPECT_TRUE(Rows(*output).empty());
  EXPECT_EQ(Errors(*output), Messages{"gone"});
}

TEST_F(FileSystemTest, MountsPersistentlyOrUntilTheNextRestart) {
  // Both given but naming the same volume: the host mounts it, no complaint.
  auto output =
      Run(*VolumeMount::New(), {"-l", "ds-offline", "-u", "3a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c5"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Volume("ds-offline")["mounted"], true);
  EXPECT_EQ(Volume("ds-offline")["persistent"], true);

  // A NAS volume is not something the host mounts on its own: the explicit path.
  EXPECT_TRUE(IsTrue(*Run(*VolumeMount::New(), {"-l", "nas-old", "--no-persist"})));
  EXPECT_EQ(Volume("nas-old")["mounted"], true);
  EXPECT_EQ(Volume("nas-old")["persistent"], false);
}

TEST_F(FileSystemTest, TryMountFailureGoesUpToTheFramework) {
  ArmFault("TryMount", "", "mount helper crashed");
  EXPECT_THROW(Run(*VolumeMount::New(), {"-l", "ds-offline"}), HostCtl::Lib::HostCtlException);
}

TEST_F(FileSystemTest, AutomountMountsWhatWasNotExplicitlyUnmounted) {
  nlohmann::json host = DatastoreHost();
  host["volumes"][0]["mounted"] = false;  // unmounted until a restart
  host["volumes"][0]["persistent"] = true;
  UseHost(host);  // ds-offline stays explicitly unmounted
  EXPECT_TRUE(IsTrue(*Run(*VolumeAutomount::New())));
  EXPECT_EQ(Volume("ds-prod-01")["mounted"], true);
  EXPECT_EQ(Volume("ds-offline")["mounted"], false);
}

TEST_F(FileSystemTest, UnmountsByLabelPathOrUuidAndTellsTheAgent) {
  EXPECT_TRUE(IsTrue(*Run(*VolumeUnmount::New(), {"-l", "ds-prod-01"})));
  EXPECT_EQ(Volume("ds-prod-01")["mounted"], false);
  EXPECT_EQ(Volume("ds-prod-01")["persistent"], false);
  EXPECT_EQ(Notices(), Messages{"PreUnmount(ds-prod-01)"});
  EXPECT_EQ(command_lines_[0],
            "/usr/lib/tarvex/corvd/bin/notifyDatastore.py -t PreUnmount -i stdin");

  EXPECT_TRUE(IsTrue(*Run(*VolumeUnmount::New(),
                          {"--volume-path", "/kovra/volumes/c0a80a0a-2f6e6673", "--no-persist"})));
  EXPECT_EQ(Volume("nas-iso")["mounted"], false);
  EXPECT_EQ(Volume("nas-iso")["persistent"], true);

  EXPECT_TRUE(IsTrue(*Run(*VolumeUnmount::New(), {"-u", "4a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c4"})));
  EXPECT_EQ(Volume("ds-legacy")["mounted"], false);
}

TEST_F(FileSystemTest, UnmountAllTellsTheAgentOnceAndGoesOnAfterFailures) {
  auto output = Run(*VolumeUnmount::New(), {"--unmount-all-kovra", "-l", "ignored"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Errors(*output), Messages{"Volume 'ds-busy' cannot be unmounted. Reason: Busy"});
  EXPECT_EQ(Notices(),
            (Messages{"PreUnmount(ds-prod-01,ds-legacy,ds-busy)", "FailedUnmount(ds-busy)"}));
  EXPECT_EQ(Volume("ds-prod-01")["mounted"], false);
  EXPECT_EQ(Volume("ds-legacy")["mounted"], false);
  EXPECT_EQ(Volume("nas-iso")["mounted"], true);

  UseHost(DatastoreHost());
  notifications_.clear();
  ArmFault("PrepareUnmount", "ds-prod-01", "open files on ds-prod-01");
  ArmFault("Unmount", "ds-legacy", "device naa.600a0b80001d3f2d went away");
  output = Run(*VolumeUnmount::New(), {"-a", "-n"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Errors(*output),
            (Messages{"open files on ds-prod-01", "device naa.600a0b80001d3f2d went away",
                      "Volume 'ds-busy' cannot be unmounted. Reason: Busy"}));
  EXPECT_EQ(Notices(), (Messages{"PreUnmount(ds-legacy,ds-busy)", "FailedUnmount(ds-legacy)",
                                 "FailedUnmount(ds-busy)"}));

  // Nothing left to unmount: still one notification, with empty input.
  notifications_.clear();
  UseHost(R"({"format": 1})"_json);
  EXPECT_TRUE(IsTrue(*Run(*VolumeUnmount::New(), {"-a"})));
  EXPECT_EQ(Notices(), Messages{"PreUnmount()"});
}

Path Refused(const std::string& name, Path::Maker make, std::vector<std::string> args,
             const std::string& message) {
  return Case(name, std::move(make), std::move(args), {}, {message}, kNoResult);
}

// The host after the run differs from the one before only in one more IORM signal.
void OneMoreSignal(const nlohmann::json& before, const nlohmann::json& after) {
  nlohmann::json expected = before;
  expected["iorm"]["signals"] = before["iorm"]["signals"].get<int>() + 1;
  EXPECT_EQ(after, expected);
}

const std::string kRowFailed =
    std::string("Error getting data for filesystem on '/kovra/volumes/") + kProdUuid +
    "': GetCapacity failed, skipping.";
const Fault kRowFault = {"GetCapacity", "ds-prod-01", 0, 1};

// One row per path the tests above leave out: refusals and host failures.
const std::vector<Path> kPaths = {
    Case("ListSkipsARow", New<VolumeList>, {}, {kRowFault}, {kRowFailed}, 6),
    Case("ListSkipsARowSilently", New<VolumeList>, {"-i"}, {kRowFault}, {}, 6),
    Case("ListFails", New<VolumeList>, {}, {{"GetFileSystems"}}, {"GetFileSystems failed"},
         kNoResult),
    Refused("ListNoSuchUuid", New<VolumeList>, {"-u", "0000"},
            "Could not find any filesystem with specified UUID."),

    Refused("MountTwice", New<VolumeMount>, {"-l", "nas-old", "-u", "c0a80a0b-2f6e6674"},
            "A target volume specified by uuid cannot also be specified by label"),
    Refused("MountNoTarget", New<VolumeMount>, {},
            "A target volume must be specified by volume uuid or volume label"),
    Refused("MountNoSuchUuid", New<VolumeMount>, {"-u", "0000"},
            "No volume with uuid '0000' was found"),
    Refused("MountNoSuchLabel", New<VolumeMount>, {"-l", "nosuch"},
            "No volume with label 'nosuch' was found"),
    Refused("MountMountedLabel", New<VolumeMount>, {"-l", "ds-prod-01"},
            "Volume 'ds-prod-01' is already mounted"),
    Refused("MountMountedUuid", New<VolumeMount>, {"-u", kProdUuid},
            std::string("Volume '") + kProdUuid + "' is already mounted"),
    Case("MountFails", New<VolumeMount>, {"-l", "nas-old"}, {{"Mount"}}, {"Mount failed"},
         kNoResult),
    Case("RescanFails", New<VolumeRescan>, {}, {{"RescanKovra"}}, {"RescanKovra failed"},
         kNoResult),

    // Refusals and failures before the volume is found tell the agent nothing.
    Refused("UnmountLabelAndUuid", New<VolumeUnmount>, {"-l", "a", "-u", "b"},
            "A target volume specified by uuid cannot also be specified by path or label"),
    Refused("UnmountLabelAndPath", New<VolumeUnmount>, {"-l", "a", "-p", "/p"},
            "A target volume specified by label cannot also be specified by path"),
    Refused("UnmountPathAndUuid", New<VolumeUnmount>, {"-p", "/p", "-u", "b"},
            "A target volume specified by uuid cannot also be specified by path or label"),
    Refused("UnmountNoTarget", New<VolumeUnmount>, {},
            "A target volume must be specified by either label, by path, or by uuid."),
    Refused("UnmountNoSuchLabel", New<VolumeUnmount>, {"-l", "nosuch"},
            "No volume with label 'nosuch' was found"),
    Refused("UnmountNoSuchPath", New<VolumeUnmount>, {"-p", "/nfs/nowhere"},
            "No NAS volume was found mounted on '/nfs/nowhere'"),
    Refused("UnmountNoSuchUuid", New<VolumeUnmount>, {"-u", "0000"},
            "No volume with uuid '0000' was found"),
    Refused("UnmountUnmounted", New<VolumeUnmount>, {"-l", "ds-offline"},
            "Volume 'ds-offline' is not mounted"),
    Case("UnmountLookupFails", New<VolumeUnmount>, {"-l", "ds-prod-01"}, {{"GetFileSystemByLabel"}},
         {"GetFileSystemByLabel failed"}, kNoResult),
    // Once the agent heard of the unmount it hears that the volume stays.
    Refused("UnmountBusy", New<VolumeUnmount>, {"-u", kBusyUuid},
            std::string("Volume '") + kBusyUuid + "' cannot be unmounted. Reason: Busy")
        .Notices({"PreUnmount(ds-busy)", "FailedUnmount(ds-busy)"})
        .Changes(OneMoreSignal),
    Case("UnmountFails", New<VolumeUnmount>, {"-l", "ds-prod-01"}, {{"SignalIORM"}},
         {"SignalIORM failed"}, kNoResult)
        .Notices({"FailedUnmount(ds-prod-01)"}),
    Case("UnmountAllListFails", New<VolumeUnmount>, {"-a"}, {{"GetKovraFileSystems"}},
         {"GetKovraFileSystems failed"}, kNoResult),
};

PATH_SUITE(FileSystemPathTest, FileSystemTest, kPaths);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
