#include "commands/filesystem/host_action.h"

#include "tests/commands/command_test.h"
#include "tests/commands/filesystem/datastore_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

using Messages = std::vector<std::string>;

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

TEST_F(HostActionTest, RescanDiscoversVolumesAndAnswersTrue) {
  auto rescan = FileSystem::VolumeRescan::New();
  EXPECT_EQ(rescan->GetInputSpec()->GetParameters().size(), 0u);
  auto output = Run(*rescan);
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Volume("ds-offline")["discovered"], true);
  EXPECT_EQ(Volume("ds-offline")["mounted"], true);
}

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

TEST_F(HostActionTest, HostFailureIsTheOnlyOutput) {
  ArmFault("RescanKovra", "", "Rescan of storage adapters failed: adapter vmhba2 is offline");
  auto output = Run(*FileSystem::VolumeRescan::New());
  EXPECT_FALSE(HasResult(*output));
  EXPECT_EQ(Errors(*output),
            Messages{"Rescan of storage adapters failed: adapter vmhba2 is offline"});

  ArmFault("AutoFullMountVolumes", "", "Automount is already running");
  output = Run(*FileSystem::VolumeAutomount::New());
  EXPECT_FALSE(HasResult(*output));
  EXPECT_EQ(Errors(*output), Messages{"Automount is already running"});
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
