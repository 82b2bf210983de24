#include "commands/nfs/nfs_volume_remove.h"
#include "commands/nfs/nfs_volume_preunmount.h"
#include "cordra/exception.h"
#include "framework/shell_runner.h"
#include "hostctl/lib.h"
#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class NfsVolumeRemoveTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    UseHost(
        NasHost({NasVolume("NFS", "ds1"), NasVolume("NFS", kOddName), NasVolume("NFS41", "v41")}));
  }
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

TEST_F(NfsVolumeRemoveTest, FailedRemovalIsReportedAndAnnounced) {
  ArmFault("RemoveNetworkFileSystem", "ds1", "Volume ds1 is busy");
  auto out = Run(*remove_, {"-v", "ds1"});
  EXPECT_EQ(Errors(*out), Texts{"Volume ds1 is busy"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(notifications_, RemovalNotices("ds1", true));

  // Unknown names and NFS v4.1 volumes: the host's refusal, passed on.
  for (const char* name : {"nope", "v41"}) {
    notifications_.clear();
    out = Run(*remove_, {"-v", name});
    EXPECT_EQ(Errors(*out).size(), 1u) << name;
    EXPECT_FALSE(HasResult(*out));
    EXPECT_EQ(notifications_, RemovalNotices(name, true));
  }
  EXPECT_EQ(Host()["volumes"].size(), 3u);
}

TEST_F(NfsVolumeRemoveTest, FailingPreUnmountNotification) {
  // A host failure while notifying counts as a failed removal.
  FailPreUnmount(HostCtl::Lib::HostCtlException("Agent unavailable"));
  auto out = Run(*remove_, {"-v", "ds1"});
  EXPECT_EQ(Errors(*out), Texts{"Agent unavailable"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_EQ(notifications_, (std::vector<Notification>{{"FailedUnmount", "ds1"}}));

  // Any other failure is not the command's to handle.
  FailPreUnmount(Cordra::CordraToolException("cannot start /bin/sh"));
  EXPECT_THROW(Run(*remove_, {"-v", "ds1"}), Cordra::CordraToolException);
  EXPECT_EQ(Host()["volumes"].size(), 3u);
}

class NfsVolumePreunmountTest : public CommandTest {
 protected:
  bool InPreunmount() const { return Volume(kOddName)["nfs"]["preunmount"]; }

  std::shared_ptr<FileSystem::NFSVolumePreunmountEnter> enter_ =
      FileSystem::NFSVolumePreunmountEnter::New();
  std::shared_ptr<FileSystem::NFSVolumePreunmountExit> exit_ =
      FileSystem::NFSVolumePreunmountExit::New();
};

TEST_F(NfsVolumePreunmountTest, FailuresNameTheTransitionAndTheVolume) {
  UseHost(NasHost({NasVolume("NFS", kOddName)}, false, true));
  ArmFault("EnterNetworkFileSystemPreUnmount", kOddName, "Volume is not mounted");
  auto out = Run(*enter_, {"-v", kOddName});
  EXPECT_EQ(Errors(*out), Texts{"Preunmount Enter failed for " + std::string(kOddName) +
                                ": Volume is not mounted"});
  EXPECT_FALSE(HasResult(*out));
  EXPECT_FALSE(InPreunmount());

  ArmFault("ExitNetworkFileSystemPreUnmount", "", "State unknown");
  out = Run(*exit_, {"-v", "ds9"});
  EXPECT_EQ(Errors(*out), Texts{"Preunmount Exit failed for ds9: State unknown"});
  EXPECT_FALSE(HasResult(*out));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
