#include "commands/nfs41/nfs41_volume_add.h"

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

TEST_F(Nfs41VolumeAddTest, FailedMountIsRolledBack) {
  ArmFault("Mount", "ds1", "Mount failed: no session");
  auto out = Add("ds1");
  EXPECT_EQ(Errors(*out), Texts{"Mount failed: no session"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(Host()["volumes"].size(), 1u);

  ArmFault("RemoveNetworkFileSystem", "ds1", "Volume ds1 is locked");
  out = Add("ds1");
  EXPECT_EQ(Errors(*out), Texts{"Volume ds1 is locked"});  // replaces the mount's
  EXPECT_EQ(Volume("ds1")["mounted"], false);
}

TEST_F(Nfs41VolumeAddTest, FailuresBeforeTheMountKeepWhatWasDone) {
  EXPECT_EQ(Errors(*Add("taken")).size(), 1u);
  EXPECT_EQ(Volume("taken")["type"], "NFS");
  ArmFault("SetReadOnly", "ds1", "Cannot change ds1");
  auto out = Add("ds1", {"-r"});
  EXPECT_EQ(Errors(*out), Texts{"Cannot change ds1"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(Volume("ds1")["mounted"], false);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
