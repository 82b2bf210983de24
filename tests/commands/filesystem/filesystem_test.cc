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

using namespace FileSystem;  // the command classes
using Messages = std::vector<std::string>;

// On the default host: datastore1 (Kovra-6), legacy3 (Kovra-3), scratch
// (unmounted), vm-busy (busy), nfs-iso (mounted), nfs-legacy (unmounted).
const char kProdUuid[] = "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3";
const char kBusyUuid[] = "61f0e1d2-5b6c7d8e-9f0a-027a3ea1b2c3";

class FileSystemTest : public CommandTest {
 protected:
  Messages Notices() const {
    Messages notices;
    for (const auto& n : notifications_) notices.push_back(n.event + "(" + n.input + ")");
    return notices;
  }
};

TEST_F(FileSystemTest, ListShowsEveryVolumeInHostOrderWithVersionTexts) {
  nlohmann::json host = Host();
  VolumeIn(host, "ssd-fast")["kovra"]["version"] = 4;
  UseHost(host);
  auto output = Run(*VolumeList::New());
  EXPECT_TRUE(Errors(*output).empty());
  auto rows = Rows(*output);
  ASSERT_EQ(rows.size(), 14u);  // new-lun is not discovered
  EXPECT_EQ(rows[0], (Row{{"Mount Point", std::string("/kovra/volumes/") + kProdUuid},
                          {"Volume Name", "datastore1"},
                          {"UUID", kProdUuid},
                          {"Type", "Kovra-6"},
                          {"Mounted", "true"},
                          {"Size", "536870912000"},
                          {"Free", "343597383680"}}));
  Messages types;
  for (const auto& row : rows) types.push_back(row.at("Type"));
  EXPECT_EQ(types, (Messages{"Kovra-6", "Kovra-6", "Kovra-3", "Kovra-unknown version", "Kovra-5",
                             "Kovra-6", "Kovra-6", "NFS", "NFS", "NFS", "NFS", "NFS41", "vfat",
                             "Kovra-6"}));
  EXPECT_EQ(rows[6]["Mounted"], "false");  // scratch

  auto one = Run(*VolumeList::New(), {"--uuid", "a0b1c2d3-e4f5a6b7"});
  ASSERT_EQ(Rows(*one).size(), 1u);
  EXPECT_EQ(Rows(*one)[0]["Volume Name"], "nfs-iso");
}

TEST_F(FileSystemTest, MountsPersistentlyOrUntilTheNextRestart) {
  // Both given but naming the same volume: the host mounts it, no complaint.
  auto output =
      Run(*VolumeMount::New(), {"-l", "scratch", "-u", "62a1b2c3-6c7d8e9f-0a1b-027a3ea1b2c3"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Volume("scratch")["mounted"], true);
  EXPECT_EQ(Volume("scratch")["persistent"], true);

  // A NAS volume is not something the host mounts on its own: the explicit path.
  nlohmann::json host = Host();
  host["nfs_servers"][5]["reachable"] = true;  // nfs-legacy's
  UseHost(host);
  EXPECT_TRUE(IsTrue(*Run(*VolumeMount::New(), {"-l", "nfs-legacy", "--no-persist"})));
  EXPECT_EQ(Volume("nfs-legacy")["mounted"], true);
  EXPECT_EQ(Volume("nfs-legacy")["persistent"], false);
}

TEST_F(FileSystemTest, TryMountFailureGoesUpToTheFramework) {
  ArmFault("TryMount", "", "mount helper crashed");
  EXPECT_THROW(Run(*VolumeMount::New(), {"-l", "scratch"}), HostCtl::Lib::HostCtlException);
}

TEST_F(FileSystemTest, UnmountsByLabelPathOrUuidAndTellsTheAgent) {
  EXPECT_TRUE(IsTrue(*Run(*VolumeUnmount::New(), {"-l", "datastore1"})));
  EXPECT_EQ(Volume("datastore1")["mounted"], false);
  EXPECT_EQ(Volume("datastore1")["persistent"], false);
  EXPECT_EQ(Notices(), Messages{"PreUnmount(datastore1)"});
  EXPECT_EQ(command_lines_[0],
            "/usr/lib/tarvex/corvd/bin/notifyDatastore.py -t PreUnmount -i stdin");

  EXPECT_TRUE(IsTrue(*Run(*VolumeUnmount::New(),
                          {"--volume-path", "/kovra/volumes/a0b1c2d3-e4f5a6b7", "--no-persist"})));
  EXPECT_EQ(Volume("nfs-iso")["mounted"], false);
  EXPECT_EQ(Volume("nfs-iso")["persistent"], true);

  EXPECT_TRUE(IsTrue(*Run(*VolumeUnmount::New(), {"-u", "4c7d9e1f-3a5b7c9d-0e1f-027a3ea1b2c3"})));
  EXPECT_EQ(Volume("legacy3")["mounted"], false);
}

TEST_F(FileSystemTest, UnmountAllTellsTheAgentOnceAndGoesOnAfterFailures) {
  auto output = Run(*VolumeUnmount::New(), {"--unmount-all-kovra", "-l", "ignored"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Errors(*output), Messages{"Volume 'vm-busy' cannot be unmounted. Reason: Busy"});
  EXPECT_EQ(
      Notices(),
      (Messages{"PreUnmount(datastore1,datastore2,legacy3,ssd-fast,archive,vm-busy,ds-prod-01)",
                "FailedUnmount(vm-busy)"}));
  EXPECT_EQ(Volume("datastore1")["mounted"], false);
  EXPECT_EQ(Volume("legacy3")["mounted"], false);
  EXPECT_EQ(Volume("nfs-iso")["mounted"], true);

  UseDefaultHost();
  notifications_.clear();
  ArmFault("PrepareUnmount", "datastore1", "open files on datastore1");
  ArmFault("Unmount", "legacy3", "device gone");
  output = Run(*VolumeUnmount::New(), {"-a", "-n"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Errors(*output), (Messages{"open files on datastore1", "device gone",
                                       "Volume 'vm-busy' cannot be unmounted. Reason: Busy"}));
  EXPECT_EQ(Notices(),
            (Messages{"PreUnmount(datastore2,legacy3,ssd-fast,archive,vm-busy,ds-prod-01)",
                      "FailedUnmount(legacy3)", "FailedUnmount(vm-busy)"}));
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
const Fault kRowFault = {"GetCapacity", "datastore1", 0, 1};

// One row per path the tests above leave out: refusals and host failures.
const std::vector<Path> kPaths = {
    Case("ListEmpty", New<VolumeList>, {}, {}, {}, 0).On([](nlohmann::json& host) {
      host["volumes"] = nlohmann::json::array();
    }),
    Case("ListSkipsARow", New<VolumeList>, {}, {kRowFault}, {kRowFailed}, 13),
    Case("ListSkipsARowSilently", New<VolumeList>, {"-i"}, {kRowFault}, {}, 13),
    Case("ListFails", New<VolumeList>, {}, {{"GetFileSystems"}}, {"GetFileSystems failed"},
         kNoResult),
    // By UUID the result stays when the message about a failed row fails.
    Case("ListByUuidMessageFails", New<VolumeList>, {"-u", "a0b1c2d3-e4f5a6b7"},
         {{"GetUuid", "nfs-iso"}, {"GetMountPoint", "nfs-iso", 2}}, {"GetMountPoint failed"}, 0),
    // Automount mounts what was not explicitly unmounted (scratch was).
    Case("Automount", New<VolumeAutomount>, {}, {}, {}, kTrue)
        .On([](nlohmann::json& host) { VolumeIn(host, "datastore1")["mounted"] = false; })
        .Changes(
            Edited([](nlohmann::json& host) { VolumeIn(host, "datastore1")["mounted"] = true; })),
    Refused("ListNoSuchUuid", New<VolumeList>, {"-u", "0000"},
            "Could not find any filesystem with specified UUID."),

    Refused("MountTwice", New<VolumeMount>, {"-l", "nfs-legacy", "-u", "d3e4f5a6-b7c8d9e0"},
            "A target volume specified by uuid cannot also be specified by label"),
    Refused("MountNoTarget", New<VolumeMount>, {},
            "A target volume must be specified by volume uuid or volume label"),
    Refused("MountNoSuchUuid", New<VolumeMount>, {"-u", "0000"},
            "No volume with uuid '0000' was found"),
    Refused("MountNoSuchLabel", New<VolumeMount>, {"-l", "nosuch"},
            "No volume with label 'nosuch' was found"),
    Refused("MountMountedLabel", New<VolumeMount>, {"-l", "datastore1"},
            "Volume 'datastore1' is already mounted"),
    Refused("MountMountedUuid", New<VolumeMount>, {"-u", kProdUuid},
            std::string("Volume '") + kProdUuid + "' is already mounted"),
    Case("MountFails", New<VolumeMount>, {"-l", "nfs-legacy"}, {{"Mount"}}, {"Mount failed"},
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
    Refused("UnmountUnmounted", New<VolumeUnmount>, {"-l", "scratch"},
            "Volume 'scratch' is not mounted"),
    Case("UnmountLookupFails", New<VolumeUnmount>, {"-l", "datastore1"}, {{"GetFileSystemByLabel"}},
         {"GetFileSystemByLabel failed"}, kNoResult),
    // Once the agent heard of the unmount it hears that the volume stays.
    Refused("UnmountBusy", New<VolumeUnmount>, {"-u", kBusyUuid},
            std::string("Volume '") + kBusyUuid + "' cannot be unmounted. Reason: Busy")
        .Notices({"PreUnmount(vm-busy)", "FailedUnmount(vm-busy)"})
        .Changes(OneMoreSignal),
    Case("UnmountFails", New<VolumeUnmount>, {"-l", "datastore1"}, {{"PrepareUnmount"}},
         {"PrepareUnmount failed"}, kNoResult)
        .Notices({"FailedUnmount(datastore1)"}),
    // Nothing left to unmount: still one notification, with empty input.
    Case("UnmountAllNothing", New<VolumeUnmount>, {"-a"}, {}, {}, kTrue)
        .On([](nlohmann::json& host) { host["volumes"] = nlohmann::json::array(); })
        .Notices({"PreUnmount()"})
        .Changes(OneMoreSignal),
    Case("UnmountAllListFails", New<VolumeUnmount>, {"-a"}, {{"GetKovraFileSystems"}},
         {"GetKovraFileSystems failed"}, kNoResult),
};

PATH_SUITE(FileSystemPathTest, FileSystemTest, kPaths);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
