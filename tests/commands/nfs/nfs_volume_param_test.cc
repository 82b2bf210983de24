#include "commands/nfs/nfs_volume_param.h"

#include "framework/parser.h"
#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

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
  int64_t QueueDepth(const std::string& name) const {
    return Volume(name)["nfs"]["queue_depth"].get<int64_t>();
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

TEST_F(NfsVolumeParamTest, GetFailures) {
  UseNasHost(false);
  // The row fails; its name, asked again for the message, fails too.
  ArmFault("GetMaxReadTransferSize", kOddName, "I/O error");
  ArmFault("GetVolumeName", kOddName, "Volume vanished", 2);
  auto out = Run(*get_, {"-v", "all"});
  EXPECT_EQ(Errors(*out), Texts{"Volume vanished"});
  EXPECT_FALSE(HasResult(*out));

  // A name is read while selecting, up to the first match only.
  UseNasHost(false);
  ArmFault("GetVolumeName", kOddName, "Stale file handle");
  EXPECT_EQ(Rows(*Run(*get_, {"-v", "ds1"})), std::vector<Row>{kDs1});
  out = Run(*get_, {"-v", "nope"});
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

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
