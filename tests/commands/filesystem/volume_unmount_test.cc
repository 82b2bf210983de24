#include "commands/filesystem/volume_unmount.h"

#include "tests/commands/command_test.h"
#include "tests/commands/filesystem/datastore_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

using Messages = std::vector<std::string>;
using Events = std::vector<std::pair<std::string, std::string>>;

class VolumeUnmountTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    UseHost(DatastoreHost());
  }
  Events Notified() const {
    Events events;
    for (const auto& n : notifications_) events.emplace_back(n.event, n.input);
    return events;
  }
  std::shared_ptr<FileSystem::VolumeUnmount> command_ = FileSystem::VolumeUnmount::New();
};

TEST_F(VolumeUnmountTest, UnmountsByLabelPathOrUuidAndTellsTheAgent) {
  auto output = Run(*command_, {"-l", "ds-prod-01"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Volume("ds-prod-01")["mounted"], false);
  EXPECT_EQ(Volume("ds-prod-01")["persistent"], false);
  EXPECT_EQ(Notified(), (Events{{"PreUnmount", "ds-prod-01"}}));
  EXPECT_EQ(command_lines_[0],
            "/usr/lib/tarvex/corvd/bin/notifyDatastore.py -t PreUnmount -i stdin");

  output = Run(*command_, {"--volume-path", "/kovra/volumes/c0a80a0a-2f6e6673", "--no-persist"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Volume("nas-iso")["mounted"], false);
  EXPECT_EQ(Volume("nas-iso")["persistent"], true);

  output = Run(*command_, {"-u", "4a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c4"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Volume("ds-legacy")["mounted"], false);
}

TEST_F(VolumeUnmountTest, TargetConflictsAndMissingVolumesNotifyNobody) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-l", "a", "-u", "b"},
       "A target volume specified by uuid cannot also be specified by path or label"},
      {{"-l", "a", "-p", "/p"},
       "A target volume specified by label cannot also be specified by path"},
      {{"-p", "/p", "-u", "b"},
       "A target volume specified by uuid cannot also be specified by path or label"},
      {{}, "A target volume must be specified by either label, by path, or by uuid."},
      {{"-l", "nosuch"}, "No volume with label 'nosuch' was found"},
      {{"-p", "/nfs/nowhere"}, "No NAS volume was found mounted on '/nfs/nowhere'"},
      {{"-u", "0000"}, "No volume with uuid '0000' was found"},
      {{"-l", "ds-offline"}, "Volume 'ds-offline' is not mounted"},
  };
  for (const auto& c : cases) {
    auto output = Run(*command_, c.first);
    EXPECT_FALSE(HasResult(*output)) << c.second;
    EXPECT_EQ(Errors(*output), Messages{c.second});
  }
  EXPECT_TRUE(notifications_.empty());
}

TEST_F(VolumeUnmountTest, BusyVolumeIsReportedWithTheNameAsGiven) {
  auto output = Run(*command_, {"-u", "2a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c6"});
  EXPECT_FALSE(HasResult(*output));
  EXPECT_EQ(Errors(*output),
            Messages{"Volume '2a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c6' cannot be unmounted. Reason: "
                     "Busy"});
  EXPECT_EQ(Notified(), (Events{{"PreUnmount", "ds-busy"}, {"FailedUnmount", "ds-busy"}}));
  EXPECT_EQ(Volume("ds-busy")["mounted"], true);
}

TEST_F(VolumeUnmountTest, UnmountAllTellsTheAgentOnceAndReportsBusyVolumes) {
  auto output = Run(*command_, {"--unmount-all-kovra", "-l", "ignored"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Errors(*output), Messages{"Volume 'ds-busy' cannot be unmounted. Reason: Busy"});
  EXPECT_EQ(Notified(),
            (Events{{"PreUnmount", "ds-prod-01,ds-legacy,ds-busy"}, {"FailedUnmount", "ds-busy"}}));
  EXPECT_EQ(Volume("ds-prod-01")["mounted"], false);
  EXPECT_EQ(Volume("ds-legacy")["mounted"], false);
  EXPECT_EQ(Volume("nas-iso")["mounted"], true);

  // Nothing left to unmount: still one notification, with empty input.
  notifications_.clear();
  UseHost(R"({"format": 1})"_json);
  output = Run(*command_, {"-a"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Notified(), (Events{{"PreUnmount", ""}}));
}

TEST_F(VolumeUnmountTest, UnmountAllGoesOnAfterOneVolumeFails) {
  ArmFault("PrepareUnmount", "ds-prod-01", "open files on ds-prod-01");
  ArmFault("Unmount", "ds-legacy", "device naa.600a0b80001d3f2d went away");
  auto output = Run(*command_, {"-a", "-n"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Errors(*output),
            (Messages{"open files on ds-prod-01", "device naa.600a0b80001d3f2d went away",
                      "Volume 'ds-busy' cannot be unmounted. Reason: Busy"}));
  EXPECT_EQ(Notified(), (Events{{"PreUnmount", "ds-legacy,ds-busy"},
                                {"FailedUnmount", "ds-legacy"},
                                {"FailedUnmount", "ds-busy"}}));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
