// The NFS v3 commands (add, list, param get/set, remove, preunmount): results,
// refusals and host failures.
#include "commands/nfs/nfs_volume_add.h"
#include "commands/nfs/nfs_volume_list.h"
#include "commands/nfs/nfs_volume_param.h"
#include "commands/nfs/nfs_volume_preunmount.h"
#include "commands/nfs/nfs_volume_remove.h"
#include "cordra/exception.h"
#include "framework/parser.h"
#include "framework/shell_runner.h"
#include "hostctl/lib.h"
#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class NfsVolumeAddTest : public CommandTest {
 protected:
  void UseNasHost(bool strelnic_binding, bool preunmount) {
    UseHost(NasHost({NasVolume("NFS", "taken")}, strelnic_binding, preunmount));
  }
  // Adds "ds1" from /exports/data with `args` naming the server and options.
  std::shared_ptr<Output> Add(Texts args) {
    args.insert(args.end(), {"-s", "/exports/data", "-v", "ds1"});
    return Run(*add_, args);
  }

  std::shared_ptr<FileSystem::NFSVolumeAdd> add_ = FileSystem::NFSVolumeAdd::New();
};

TEST_F(NfsVolumeAddTest, AddsAndMountsWithTheGivenSettings) {
  UseNasHost(false, false);
  auto out = Run(*add_, {"-H", kServer, "-s", "/exports/a b", "-v", kOddName, "-r", "-p"});
  EXPECT_TRUE(IsTrue(*out));
  EXPECT_TRUE(Errors(*out).empty());
  const Json volume = Volume(kOddName);
  EXPECT_EQ(volume["type"], "NFS");
  EXPECT_EQ(volume["mounted"], true);
  EXPECT_EQ(volume["nfs"]["hosts"], Json({kServer}));
  EXPECT_EQ(volume["nfs"]["share"], "/exports/a b");
  EXPECT_EQ(volume["nfs"]["read_only"], true);
  EXPECT_EQ(volume["nfs"]["pe"], true);
  EXPECT_EQ(volume["nfs"]["queue_depth"], 4294967295u);
}

TEST_F(NfsVolumeAddTest, StrelnicBindingSwitchIsReadAtEachRequest) {
  UseNasHost(false, false);
  EXPECT_EQ(add_->GetInputSpec()->FindParameter("host-strelnic"), nullptr);
  EXPECT_THROW(Run(*add_, {"-s", "/e", "-v", "ds1"}), Cordra::Frame::UsageError);

  UseNasHost(true, false);  // the same command object
  EXPECT_FALSE(add_->GetInputSpec()->FindParameter("host")->IsRequired());
  const std::string either = "Either hostName or strelnic shoud be provided";
  EXPECT_EQ(Errors(*Add({"-H", kServer, "-I", "192.0.2.10:tvn1"})), Texts{either});
  EXPECT_EQ(Errors(*Add({})), Texts{either});
  EXPECT_EQ(Errors(*Add({"-I", kServer})), Texts{"Invalid host-strelnic input"});
  EXPECT_EQ(Host()["volumes"].size(), 1u);

  auto out = Add({"--host-strelnic", "192.0.2.10:tvn1"});
  EXPECT_TRUE(IsTrue(*out));
  EXPECT_EQ(Volume("ds1")["nfs"]["hosts"], Json({kServer}));
  EXPECT_EQ(Volume("ds1")["nfs"]["strelnic"], "tvn1");
}

TEST_F(NfsVolumeAddTest, HostStrelnicSplitsAtTheFirstColonOnly) {
  Json host = NasHost({}, true, false);
  host["strelnics"] = {"tvn1:2"};
  UseHost(host);
  EXPECT_TRUE(IsTrue(*Run(*add_, {"-I", "192.0.2.10:tvn1:2", "-s", "/e", "-v", "a"})));
  EXPECT_EQ(Volume("a")["nfs"]["strelnic"], "tvn1:2");
}

using FileSystem::NFSVolumeList;

class NfsVolumeListTest : public CommandTest {
 protected:
  void UseNasHost(bool strelnic_binding) {
    Json odd = NasVolume("NFS", kOddName, {{"share", "/a b;c"}, {"read_only", true}}, 2);
    odd["mounted"] = false;
    UseHost(NasHost({NasVolume("NFS", "ds1", {{"strelnic", "tvn1"}, {"strelnic_param", "tvn0"}}, 1),
                     NasVolume("NFS41", "v41"), odd, NasVolume("NFS", "hidden", {{"hidden", true}}),
                     NasVolume("NFS", "pe", {{"pe", true}, {"hidden", true}})},
                    strelnic_binding));
  }
};

TEST_F(NfsVolumeListTest, ListsVisibleNfsV3MountsInHostOrder) {
  UseNasHost(false);
  auto list = NFSVolumeList::New();
  auto out = Run(*list);
  EXPECT_TRUE(Errors(*out).empty());
  const auto rows = Rows(*out);
  ASSERT_EQ(Names(rows), (Texts{"ds1", kOddName}));
  EXPECT_EQ(rows[0], (Row{{"Volume Name", "ds1"},
                          {"Host", kServer},
                          {"Share", "/exports/data"},
                          {"Accessible", "true"},
                          {"Mounted", "true"},
                          {"Read-Only", "false"},
                          {"isPE", "false"},
                          {"Hardware Acceleration", "Supported"}}));
  EXPECT_EQ(rows[1].at("Share"), "/a b;c");
  EXPECT_EQ(rows[1].at("Mounted"), "false");
  EXPECT_EQ(rows[1].at("Read-Only"), "true");
  EXPECT_EQ(rows[1].at("Hardware Acceleration"), "Not Supported");

  out = Run(*list, {"--pe-only"});  // hidden or not
  ASSERT_EQ(Names(Rows(*out)), Texts{"pe"});
  EXPECT_EQ(Rows(*out)[0].at("Hardware Acceleration"), "Unknown");
}

TEST_F(NfsVolumeListTest, StrelnicColumnFollowsTheSwitch) {
  UseNasHost(true);
  auto list = NFSVolumeList::New();
  const char* fields =
      "Volume Name,Host,Share,Strelnic,Accessible,Mounted,Read-Only,isPE,Hardware Acceleration";
  EXPECT_EQ(list->GetDefaultOutputParameter("fields:NasMount"), fields);
  auto rows = Rows(*Run(*list));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("Strelnic"), "tvn1");  // the bound interface, not the parameter
  EXPECT_EQ(rows[1].at("Strelnic"), "");

  // Switched off under the same command: only the column list keeps it.
  UseNasHost(false);
  EXPECT_EQ(list->GetDefaultOutputParameter("fields:NasMount"), fields);
  rows = Rows(*Run(*list));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].count("Strelnic"), 0u);
}

const Row kDs1 = {{"Volume Name", "ds1"},
                  {"MaxQueueDepth", "64"},
                  {"MaxReadTransferSize", "65536"},
                  {"MaxWriteTransferSize", "131072"}};

class NfsVolumeParamTest : public CommandTest {
 protected:
  void UseNasHost(bool strelnic_binding) {
    UseHost(NasHost({NasVolume("NFS", "ds1",
                               {{"queue_depth", 64},
                                {"max_read", 65536},
                                {"max_write", 131072},
                                {"strelnic", "tvn0"},
                                {"strelnic_param", "tvn1"}}),
                     NasVolume("NFS41", "v41"), NasVolume("NFS", "pe1", {{"pe", true}}),
                     NasVolume("NFS", kOddName, {{"hidden", true}})},
                    strelnic_binding));
  }
  // The queue depth, which a restart keeps: the command always persists it.
  int64_t QueueDepth(const std::string& name) const {
    const nlohmann::json nfs = Volume(name)["nfs"];
    EXPECT_EQ(nfs["boot_queue_depth"], nfs["queue_depth"]) << name;
    return nfs["queue_depth"].get<int64_t>();
  }

  std::shared_ptr<FileSystem::NFSVolumeParamGet> get_ = FileSystem::NFSVolumeParamGet::New();
  std::shared_ptr<FileSystem::NFSVolumeParamSet> set_ = FileSystem::NFSVolumeParamSet::New();
};

TEST_F(NfsVolumeParamTest, GetSelectsAllOrOneNonPeMount) {
  UseNasHost(false);
  auto out = Run(*get_, {"-v", "all"});
  EXPECT_TRUE(Errors(*out).empty());
  const auto all = Rows(*out);
  ASSERT_EQ(Names(all), (Texts{"ds1", kOddName}));
  EXPECT_EQ(all[0], kDs1);
  EXPECT_EQ(all[1].at("MaxQueueDepth"), "4294967295");
  EXPECT_EQ(Rows(*Run(*get_, {"-v", "ds1"})), std::vector<Row>{kDs1});
  for (const char* none : {"ALL", "nope", "pe1", "v41"}) {
    out = Run(*get_, {"-v", none});
    EXPECT_TRUE(Rows(*out).empty() && Errors(*out).empty()) << none;
  }
}

TEST_F(NfsVolumeParamTest, GetReadsNamesUpToTheFirstMatch) {
  // A name is read while selecting, up to the first match only.
  UseNasHost(false);
  ArmFault("GetVolumeName", kOddName, "Stale file handle");
  EXPECT_EQ(Rows(*Run(*get_, {"-v", "ds1"})), std::vector<Row>{kDs1});
  auto out = Run(*get_, {"-v", "nope"});
  EXPECT_EQ(Errors(*out), Texts{"Stale file handle"});
  EXPECT_FALSE(HasResult(*out));
}

TEST_F(NfsVolumeParamTest, SetChangesOnlyTheNamedNonPeMount) {
  UseNasHost(false);
  EXPECT_EQ(set_->GetInputSpec()->FindParameter("strelnic"), nullptr);
  EXPECT_TRUE(IsTrue(*Run(*set_, {"-v", "ds1", "-q", "4294967295"})));
  EXPECT_EQ(QueueDepth("ds1"), 4294967295);
  EXPECT_TRUE(IsTrue(*Run(*set_, {"-v", "ds1"})));  // nothing to change
  for (const char* name : {"all", "pe1", "nope"}) {
    auto out = Run(*set_, {"-v", name, "-q", "8"});
    EXPECT_TRUE(IsTrue(*out) && Errors(*out).empty()) << name;
  }
  EXPECT_EQ(QueueDepth("pe1"), 4294967295);
  EXPECT_THROW(Run(*set_, {"-v", "ds1", "-q", "0"}), Cordra::Frame::UsageError);
}

TEST_F(NfsVolumeParamTest, SetStrelnicAfterQueueDepth) {
  UseNasHost(true);
  EXPECT_TRUE(IsTrue(*Run(*set_, {"-v", kOddName, "-q", "16", "-I", "tvn0"})));
  EXPECT_EQ(QueueDepth(kOddName), 16);
  EXPECT_EQ(Volume(kOddName)["nfs"]["strelnic_param"], "tvn0");

  ArmFault("SetStrelnic", "ds1", "No such interface");
  auto out = Run(*set_, {"-v", "ds1", "-q", "32", "--strelnic", "tvn0"});
  EXPECT_EQ(Errors(*out), Texts{"Error setting params for mount 'ds1': No such interface"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(QueueDepth("ds1"), 32);  // set before the strelnic failed
}

// The "PreUnmount" notification fails on removing nfs-backup from the default host.
class NfsVolumeRemoveTest : public CommandTest {
 protected:
  // Makes the "PreUnmount" notification throw `failure`; others are recorded.
  template <class Failure>
  void FailPreUnmount(const Failure& failure) {
    Cordra::Frame::SetShellCmdRunner(
        [this, failure](const std::string& line, std::string&, const std::string& input) -> int {
          if (line.find(" -t PreUnmount ") != std::string::npos) throw failure;
          notifications_.push_back({"FailedUnmount", input});
          return 0;
        });
  }

  std::shared_ptr<FileSystem::NFSVolumeRemove> remove_ = FileSystem::NFSVolumeRemove::New();
};

TEST_F(NfsVolumeRemoveTest, FailingPreUnmountNotification) {
  const size_t volumes = Host()["volumes"].size();
  // A host failure while notifying counts as a failed removal.
  FailPreUnmount(HostCtl::Lib::HostCtlException("Agent unavailable"));
  auto out = Run(*remove_, {"-v", "nfs-backup"});
  EXPECT_EQ(Errors(*out), Texts{"Agent unavailable"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(notifications_, (std::vector<Notification>{{"FailedUnmount", "nfs-backup"}}));

  // Any other failure is not the command's to handle.
  FailPreUnmount(Cordra::CordraToolException("cannot start /bin/sh"));
  EXPECT_THROW(Run(*remove_, {"-v", "nfs-backup"}), Cordra::CordraToolException);
  EXPECT_EQ(Host()["volumes"].size(), volumes);
}

using namespace FileSystem;  // the command classes

const Texts kAdd = {"-H", "192.0.2.10", "-s", "/new", "-v", "new"};
const Texts kReadOnly = {"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-r"};
Texts operator+(Texts a, const Texts& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
void WithoutPreunmount(Json& host) { host["features"]["284"] = false; }
const char kFetch[] = "GetV3NetworkFileSystems";

// On the default host (three visible NFS v3 mounts), one row per path the
// tests above leave out.
const std::vector<Path> kPaths = {
    Case("AddFails", New<NFSVolumeAdd>, kAdd, {{"AddNetworkFileSystem"}},
         {"AddNetworkFileSystem failed"}, kNoResult),
    // The add has happened: a failing setter leaves the volume configured
    // (and unmounted).
    Case("AddSetterFails", New<NFSVolumeAdd>, kReadOnly, {{"SetReadOnly"}}, {"SetReadOnly failed"},
         kNoResult)
        .Changes(AddedUnmounted("read_only")),
    Case("AddDepthWithoutRetry", New<NFSVolumeAdd>, Texts{"--unsupported-queue-depth", "32"} + kAdd,
         {}, {"unsupported-queue-depth requires unsupported-mount-retry flag"}, kNoResult)
        .On(WithoutPreunmount),
    // With preunmount the retry flag still admits the depth.
    Case("AddDepth", New<NFSVolumeAdd>,
         Texts{"--unsupported-mount-retry", "--unsupported-queue-depth", "32"} + kAdd, {}, {},
         kTrue)
        .Changes([](const Json&, const Json& after) {
          EXPECT_EQ(after["volumes"].back()["nfs"]["queue_depth"], 32);
        }),
    // A failed mount is rolled back only without preunmount; a failing
    // rollback's message replaces the mount's.
    Case("AddMountFails", New<NFSVolumeAdd>, kAdd, {{"Mount", "new"}}, {"Mount failed"}, kNoResult)
        .Changes(AddedUnmounted("read_only")),
    Case("AddMountFailsRolledBack", New<NFSVolumeAdd>, kAdd, {{"Mount", "new"}}, {"Mount failed"},
         kNoResult)
        .On(WithoutPreunmount),
    Case("AddRollbackFails", New<NFSVolumeAdd>, kAdd,
         {{"Mount", "new"}, {"RemoveNetworkFileSystem", "new"}}, {"RemoveNetworkFileSystem failed"},
         kNoResult)
        .On(WithoutPreunmount)
        .Changes(AddedUnmounted("read_only")),
    Case("Remove", New<NFSVolumeRemove>, {"-v", "nfs-backup"}, {}, {}, kTrue)
        .Notices({"PreUnmount(nfs-backup)"})
        .Changes(Removed("nfs-backup")),
    // A failed removal (the host's refusal of an unknown name included) is
    // reported and announced.
    Case("RemoveFails", New<NFSVolumeRemove>, {"-v", "nfs-backup"}, {{"RemoveNetworkFileSystem"}},
         {"RemoveNetworkFileSystem failed"}, kNoResult)
        .Notices({"PreUnmount(nfs-backup)", "FailedUnmount(nfs-backup)"}),
    // Failures name the transition and the volume as typed.
    Case("PreunmountEnterFails", New<NFSVolumePreunmountEnter>, {"-v", "nfs-iso"},
         {{"EnterNetworkFileSystemPreUnmount"}},
         {"Preunmount Enter failed for nfs-iso: EnterNetworkFileSystemPreUnmount failed"},
         kNoResult),
    Case("PreunmountExitFails", New<NFSVolumePreunmountExit>, {"-v", "ds9"},
         {{"ExitNetworkFileSystemPreUnmount"}},
         {"Preunmount Exit failed for ds9: ExitNetworkFileSystemPreUnmount failed"}, kNoResult),
    Case("PreunmountEnter", New<NFSVolumePreunmountEnter>, {"-v", "nfs-iso"}, {}, {}, kTrue)
        .Changes(Edited([](Json& host) { VolumeIn(host, "nfs-iso")["nfs"]["preunmount"] = true; })),
    Case("ListSkipsARow", New<NFSVolumeList>, {}, {{"GetShare", "nfs-iso", 0, 1}},
         {"Error getting data for mount 'nfs-iso': GetShare failed, skipping."}, 2),
    // The row fails; its name, asked again for the message, fails too.
    Case("ListNameFails", New<NFSVolumeList>, {},
         {{"GetShare", "nfs-iso"}, {"GetVolumeName", "nfs-iso", 2}}, {"GetVolumeName failed"},
         kNoResult),
    Case("ListFails", New<NFSVolumeList>, {}, {{kFetch}}, {"GetV3NetworkFileSystems failed"},
         kNoResult),
    Case("ParamGetSkipsARow", New<NFSVolumeParamGet>, {"-v", "all"},
         {{"GetMaxQueueDepth", "nfs-iso", 0, 1}},
         {"Error getting params for mount 'nfs-iso': GetMaxQueueDepth failed, skipping."}, 2),
    Case("ParamGetNameFails", New<NFSVolumeParamGet>, {"-v", "all"},
         {{"GetMaxReadTransferSize", "nfs-iso"}, {"GetVolumeName", "nfs-iso", 2}},
         {"GetVolumeName failed"}, kNoResult),
    Case("ParamGetFails", New<NFSVolumeParamGet>, {"-v", "all"}, {{kFetch}},
         {"GetV3NetworkFileSystems failed"}, kNoResult),
    Case("ParamSetFails", New<NFSVolumeParamSet>, {"-v", "nfs-iso", "-q", "8"}, {{kFetch}},
         {"GetV3NetworkFileSystems failed"}, kNoResult),
};

PATH_SUITE(NfsFailureTest, CommandTest, kPaths);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
