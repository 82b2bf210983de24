#include "commands/filesystem/volume_mount.h"
#include "commands/filesystem/host_action.h"
#include "hostctl/lib.h"
#include "tests/commands/command_test.h"
#include "tests/commands/filesystem/datastore_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

using Messages = std::vector<std::string>;

class VolumeMountTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    nlohmann::json host = DatastoreHost();
    host["volumes"][4]["mounted"] = false;  // nas-iso
    host["volumes"][4]["persistent"] = false;
    UseHost(host);
  }
  std::shared_ptr<FileSystem::VolumeMount> command_ = FileSystem::VolumeMount::New();
};

TEST_F(VolumeMountTest, MountsPersistentlyOrUntilTheNextRestart) {
  auto output = Run(*command_, {"--volume-label", "ds-offline"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Volume("ds-offline")["mounted"], true);
  EXPECT_EQ(Volume("ds-offline")["persistent"], true);

  // A NAS volume is not something the host mounts on its own: the explicit path.
  output = Run(*command_, {"-l", "nas-iso", "--no-persist"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Volume("nas-iso")["mounted"], true);
  EXPECT_EQ(Volume("nas-iso")["persistent"], false);
}

TEST_F(VolumeMountTest, ArgumentsAreCheckedOnlyWhenTheHostCannotMountOnItsOwn) {
  // Both given but naming the same volume: the host mounts it, no complaint.
  auto output = Run(*command_, {"-l", "ds-offline", "-u", "3a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c5"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Errors(*output).empty());

  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-l", "nas-iso", "-u", "c0a80a0a-2f6e6673"},
       "A target volume specified by uuid cannot also be specified by label"},
      {{}, "A target volume must be specified by volume uuid or volume label"},
      {{"-u", "0000"}, "No volume with uuid '0000' was found"},
      {{"-l", "nosuch"}, "No volume with label 'nosuch' was found"},
      {{"-l", "ds-prod-01"}, "Volume 'ds-prod-01' is already mounted"},
      {{"-u", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"},
       "Volume '5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3' is already mounted"},
  };
  for (const auto& c : cases) {
    output = Run(*command_, c.first);
    EXPECT_FALSE(HasResult(*output)) << c.second;
    EXPECT_EQ(Errors(*output), Messages{c.second});
  }
}

TEST_F(VolumeMountTest, TryMountFailureGoesUpToTheFramework) {
  ArmFault("TryMount", "", "mount helper crashed");
  EXPECT_THROW(Run(*command_, {"-l", "ds-offline"}), HostCtl::Lib::HostCtlException);
}

class HostActionTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    nlohmann::json host = DatastoreHost();
    host["volumes"][2]["discovered"] = false;  // ds-offline, on an attached device
    host["volumes"][2]["persistent"] = true;
    UseHost(host);
  }
};

TEST_F(HostActionTest, AutomountMountsWhatWasNotExplicitlyUnmounted) {
  nlohmann::json host = DatastoreHost();
  host["volumes"][0]["mounted"] = false;  // unmounted until a restart
  host["volumes"][0]["persistent"] = true;
  UseHost(host);  // ds-offline stays explicitly unmounted
  auto output = Run(*FileSystem::VolumeAutomount::New());
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Volume("ds-prod-01")["mounted"], true);
  EXPECT_EQ(Volume("ds-offline")["mounted"], false);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
