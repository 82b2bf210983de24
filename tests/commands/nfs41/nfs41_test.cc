// The NFS v4.1 commands (add, list, param get/set, remove): results, refusals
// and host failures.
#include "commands/nfs41/nfs41_volume_add.h"
#include "commands/nfs41/nfs41_volume_list.h"
#include "commands/nfs41/nfs41_volume_param.h"
#include "commands/nfs41/nfs41_volume_remove.h"
#include "framework/parser.h"
#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class Nfs41VolumeAddTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    UseHost(NasHost({NasVolume("NFS", "taken")}));
  }
  std::shared_ptr<Output> Add(const std::string& name, Texts more = {}) {
    more.insert(more.end(), {"-H", kServer, "-s", "/exports/data", "-v", name});
    return Run(*add_, more);
  }
  int Security(const std::string& name) const { return Volume(name)["nfs"]["security"]; }

  std::shared_ptr<FileSystem::NFS41VolumeAdd> add_ = FileSystem::NFS41VolumeAdd::New();
};

TEST_F(Nfs41VolumeAddTest, AddsAndMountsWithEveryServerInOrder) {
  auto out = Run(*add_, {"-H", kServer2, "-H", kServer, "-s", "/a b", "-v", kOddName, "-r", "-p"});
  EXPECT_TRUE(IsTrue(*out));
  EXPECT_TRUE(Errors(*out).empty());
  const Json volume = Volume(kOddName);
  EXPECT_EQ(volume["type"], "NFS41");
  EXPECT_EQ(volume["mounted"], true);
  EXPECT_EQ(volume["nfs"]["hosts"], Json({kServer2, kServer}));
  EXPECT_EQ(volume["nfs"]["share"], "/a b");
  EXPECT_EQ(volume["nfs"]["read_only"], true);
  EXPECT_EQ(volume["nfs"]["pe"], true);
  EXPECT_EQ(volume["nfs"]["security"], 1);  // "sys" when not given
}

TEST_F(Nfs41VolumeAddTest, SecurityFlavours) {
  EXPECT_TRUE(IsTrue(*Add("sys", {"-a", "sys"})));
  EXPECT_TRUE(IsTrue(*Add("krb5", {"--sec", "krb5"})));
  EXPECT_TRUE(IsTrue(*Add("krb5i", {"--sec=krb5i"})));
  EXPECT_EQ(Security("sys"), 1);
  EXPECT_EQ(Security("krb5"), 2);
  EXPECT_EQ(Security("krb5i"), 3);
  EXPECT_THROW(Add("krb5p", {"--sec", "krb5p"}), Cordra::Frame::UsageError);
  EXPECT_THROW(Add("upper", {"--sec", "SYS"}), Cordra::Frame::UsageError);
}

using FileSystem::NFS41VolumeList;

class Nfs41VolumeListTest : public CommandTest {};

TEST_F(Nfs41VolumeListTest, ListsVisibleNfs41MountsInHostOrder) {
  UseHost(NasHost({NasVolume("NFS41", "ds1", {{"hosts", {kServer, kServer2}}, {"security", 2}}, 1),
                   NasVolume("NFS", "v3"),
                   NasVolume("NFS41", kOddName, {{"hosts", {kServer2}}, {"security", 0}}),
                   // Read-write, on an export that only allows reading.
                   NasVolume("NFS41", "iso", {{"share", "/exports/iso"}, {"security", 4}}),
                   NasVolume("NFS41", "hidden", {{"hidden", true}}),
                   NasVolume("NFS41", "pe", {{"pe", true}, {"hidden", true}})}));
  auto list = NFS41VolumeList::New();
  auto out = Run(*list);
  EXPECT_TRUE(Errors(*out).empty());
  const auto rows = Rows(*out);
  ASSERT_EQ(Names(rows), (Texts{"ds1", kOddName, "iso"}));
  EXPECT_EQ(rows[0], (Row{{"Volume Name", "ds1"},
                          {"Host(s)", "192.0.2.10,192.0.2.11"},
                          {"Share", "/exports/data"},
                          {"Accessible", "true"},
                          {"Mounted", "true"},
                          {"Read-Only", "false"},
                          {"Security", "krb5"},
                          {"isPE", "false"},
                          {"Hardware Acceleration", "Supported"}}));
  EXPECT_EQ(rows[1].at("Host(s)"), kServer2);
  EXPECT_EQ(rows[1].at("Security"), "none");
  EXPECT_EQ(rows[2].at("Read-Only"), "true");  // as mounted
  EXPECT_EQ(rows[2].at("Security"), "krb5p");
  EXPECT_EQ(Names(Rows(*Run(*list, {"-p"}))), Texts{"pe"});
}

class Nfs41VolumeParamTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    // The strelnic switch is on, and changes nothing for NFS v4.1.
    UseHost(NasHost({NasVolume("NFS41", "ds1", {{"max_read", 262144}}), NasVolume("NFS", "v3"),
                     NasVolume("NFS41", "pe1", {{"pe", true}}),
                     NasVolume("NFS41", kOddName, {{"queue_depth", 8}, {"hidden", true}})},
                    true));
  }
  int64_t QueueDepth(const std::string& name) const {
    return Volume(name)["nfs"]["queue_depth"].get<int64_t>();
  }

  std::shared_ptr<FileSystem::NFS41VolumeParamGet> get_ = FileSystem::NFS41VolumeParamGet::New();
  std::shared_ptr<FileSystem::NFS41VolumeParamSet> set_ = FileSystem::NFS41VolumeParamSet::New();
};

TEST_F(Nfs41VolumeParamTest, GetSelectsAllOrOneNonPeMount) {
  const Row ds1 = {{"Volume Name", "ds1"},
                   {"MaxQueueDepth", "4294967295"},
                   {"MaxReadTransferSize", "262144"},
                   {"MaxWriteTransferSize", "1048576"}};
  auto out = Run(*get_, {"-v", "all"});
  ASSERT_EQ(Names(Rows(*out)), (Texts{"ds1", kOddName}));
  EXPECT_EQ(Rows(*out)[0], ds1);
  EXPECT_EQ(Rows(*Run(*get_, {"-v", "ds1"})), std::vector<Row>{ds1});
  for (const char* none : {"ALL", "pe1", "v3"})
    EXPECT_TRUE(Rows(*Run(*get_, {"-v", none})).empty());

  // Every mount's name is read, also after a match.
  ArmFault("GetVolumeName", kOddName, "Stale file handle", 0, 1);
  EXPECT_EQ(Errors(*Run(*get_, {"-v", "ds1"})), Texts{"Stale file handle"});
}

TEST_F(Nfs41VolumeParamTest, SetChangesOnlyTheNamedNonPeMount) {
  EXPECT_TRUE(IsTrue(*Run(*set_, {"-v", kOddName, "--maxqueuedepth", "4294967295"})));
  EXPECT_EQ(QueueDepth(kOddName), 4294967295);
  for (const char* name : {"all", "pe1", "v3", "nope"}) {
    EXPECT_TRUE(IsTrue(*Run(*set_, {"-v", name, "-q", "4"}))) << name;
  }
  EXPECT_EQ(QueueDepth("pe1"), 4294967295);
  EXPECT_EQ(QueueDepth("v3"), 4294967295);
}

using namespace FileSystem;  // the command classes

const Texts kAdd = {"-H", "192.0.2.10", "-s", "/new", "-v", "new", "-p"};

// On the default host (one visible NFS v4.1 mount, nfs41-home), one row per
// path the tests above leave out; what NFS v4.1 shares with NFS v3 is tested there.
const std::vector<Path> kPaths = {
    Case("AddFails", New<NFS41VolumeAdd>, kAdd, {{"AddV41NetworkFileSystem"}},
         {"AddV41NetworkFileSystem failed"}, kNoResult),
    Case("AddSetterFails", New<NFS41VolumeAdd>, kAdd, {{"SetProtocolEndpoint"}},
         {"SetProtocolEndpoint failed"}, kNoResult)
        .Changes(AddedUnmounted("pe")),
    // A volume that cannot be mounted is removed again.
    Case("AddMountFails", New<NFS41VolumeAdd>, kAdd, {{"Mount"}}, {"Mount failed"}, kNoResult),
    Case("ParamSetFails", New<NFS41VolumeParamSet>, {"-v", "nfs41-home", "-q", "16"},
         {{"SetMaxQueueDepth"}},
         {"Error setting params for mount 'nfs41-home': SetMaxQueueDepth failed"}, kNoResult),
    Case("Remove", New<NFS41VolumeRemove>, {"-v", "nfs41-home"}, {}, {}, kTrue)
        .Notices({"PreUnmount(nfs41-home)"})
        .Changes(Removed("nfs41-home")),
};

PATH_SUITE(Nfs41FailureTest, CommandTest, kPaths);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
