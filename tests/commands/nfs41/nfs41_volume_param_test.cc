#include "commands/nfs41/nfs41_volume_param.h"

#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

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
  EXPECT_EQ(get_->GetDefaultOutputParameter("fields:NasMountParams"),
            "Volume Name, MaxQueueDepth,MaxReadTransferSize, MaxWriteTransferSize");
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

  ArmFault("GetMaxWriteTransferSize", "ds1", "I/O error");
  out = Run(*get_, {"-v", "all"});
  EXPECT_EQ(Names(Rows(*out)), Texts{kOddName});
  EXPECT_EQ(Errors(*out), Texts{"Error getting params for mount 'ds1': I/O error, skipping."});
}

TEST_F(Nfs41VolumeParamTest, SetChangesOnlyTheNamedNonPeMount) {
  EXPECT_EQ(set_->GetInputSpec()->GetParameters().size(), 2u);  // no strelnic
  EXPECT_TRUE(IsTrue(*Run(*set_, {"-v", kOddName, "--maxqueuedepth", "4294967295"})));
  EXPECT_EQ(QueueDepth(kOddName), 4294967295);
  for (const char* name : {"all", "pe1", "v3", "nope"}) {
    EXPECT_TRUE(IsTrue(*Run(*set_, {"-v", name, "-q", "4"}))) << name;
  }
  EXPECT_EQ(QueueDepth("pe1"), 4294967295);
  EXPECT_EQ(QueueDepth("v3"), 4294967295);

  ArmFault("SetMaxQueueDepth", "ds1", "Queue depth not supported");
  auto out = Run(*set_, {"-v", "ds1", "-q", "16"});
  EXPECT_EQ(Errors(*out), Texts{"Error setting params for mount 'ds1': Queue depth not supported"});
  EXPECT_FALSE(HasResult(*out));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
