#include "commands/nfs/nfs_volume_add.h"

#include "framework/parser.h"
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
  size_t VolumeCount() const { return Host()["volumes"].size(); }

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
  EXPECT_EQ(VolumeCount(), 1u);

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
  // Empty parts go to the host unchecked; it refuses them.
  EXPECT_EQ(Errors(*Run(*add_, {"-I", ":tvn1:2", "-s", "/e", "-v", "b"})),
            Texts{"Cannot add NFS volume 'b': an NFS server address is empty"});
  EXPECT_EQ(Errors(*Run(*add_, {"-I", "192.0.2.10:", "-s", "/e", "-v", "c"})),
            Texts{"Cannot add NFS volume 'c': strelnic '' does not exist on this host"});
}

TEST_F(NfsVolumeAddTest, QueueDepthNeedsMountRetry) {
  UseNasHost(false, false);
  auto out = Add({"-H", kServer, "--unsupported-queue-depth", "32"});
  EXPECT_EQ(Errors(*out), Texts{"unsupported-queue-depth requires unsupported-mount-retry flag"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(VolumeCount(), 1u);

  UseNasHost(false, true);  // with preunmount the retry flag still admits the depth
  out = Add({"-H", kServer, "--unsupported-mount-retry", "--unsupported-queue-depth", "32"});
  EXPECT_TRUE(IsTrue(*out));
  EXPECT_EQ(Volume("ds1")["nfs"]["queue_depth"], 32);
}

TEST_F(NfsVolumeAddTest, FailedMountIsRolledBackOnlyWithoutPreunmount) {
  UseNasHost(false, false);
  ArmFault("Mount", "ds1", "Mount failed: server busy");
  auto out = Add({"-H", kServer, "--unsupported-mount-retry"});
  EXPECT_EQ(Errors(*out), Texts{"Mount failed: server busy"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(VolumeCount(), 1u);

  ArmFault("RemoveNetworkFileSystem", "ds1", "Volume ds1 is locked");
  out = Add({"-H", kServer});
  EXPECT_EQ(Errors(*out), Texts{"Volume ds1 is locked"});  // replaces the mount's
  EXPECT_EQ(Volume("ds1")["mounted"], false);

  UseNasHost(false, true);
  ArmFault("Mount", "ds1", "Mount failed: server busy");
  out = Add({"-H", kServer});
  EXPECT_EQ(Errors(*out), Texts{"Mount failed: server busy"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(Volume("ds1")["mounted"], false);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
