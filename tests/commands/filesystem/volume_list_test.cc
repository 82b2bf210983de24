#include "commands/filesystem/volume_list.h"

#include "tests/commands/command_test.h"
#include "tests/commands/filesystem/datastore_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class VolumeListTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    UseHost(DatastoreHost());
  }
  std::shared_ptr<FileSystem::VolumeList> command_ = FileSystem::VolumeList::New();
};

TEST_F(VolumeListTest, ListsEveryVolumeInHostOrderWithVersionTexts) {
  auto output = Run(*command_);
  EXPECT_TRUE(Errors(*output).empty());
  auto rows = Rows(*output);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], (Row{{"Mount Point", "/kovra/volumes/5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"},
                          {"Volume Name", "ds-prod-01"},
                          {"UUID", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"},
                          {"Type", "Kovra-6"},
                          {"Mounted", "true"},
                          {"Size", "100"},
                          {"Free", "70"}}));
  EXPECT_EQ(rows[1]["Type"], "Kovra-3");
  EXPECT_EQ(rows[2]["Mounted"], "false");
  EXPECT_EQ(rows[3]["Type"], "Kovra-unknown version");
  EXPECT_EQ(rows[4]["Type"], "NFS");
  EXPECT_EQ(rows[5]["Type"], "vfat");
}

TEST_F(VolumeListTest, UuidSelectsOneVolumeOrNone) {
  auto output = Run(*command_, {"--uuid", "c0a80a0a-2f6e6673"});
  auto rows = Rows(*output);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]["Volume Name"], "nas-iso");

  for (const std::string uuid : {"0000", ""}) {
    output = Run(*command_, {"-u", uuid});
    EXPECT_FALSE(HasResult(*output));
    EXPECT_EQ(Errors(*output),
              (std::vector<std::string>{"Could not find any filesystem with specified UUID."}));
  }
}

TEST_F(VolumeListTest, EmptyHostGivesAnEmptyList) {
  UseHost(R"({"format": 1})"_json);
  auto output = Run(*command_);
  EXPECT_TRUE(HasResult(*output));
  EXPECT_TRUE(Rows(*output).empty());
}

TEST_F(VolumeListTest, FailureOfTheMountPointInTheMessageEndsTheRunButKeepsTheUuidResult) {
  ArmFault("GetUuid", "nas-iso", "stale handle");
  ArmFault("GetMountPoint", "nas-iso", "gone", 2);
  auto output = Run(*command_, {"-u", "c0a80a0a-2f6e6673"});
  EXPECT_TRUE(HasResult(*output));
  EXPECT_TRUE(Rows(*output).empty());
  EXPECT_EQ(Errors(*output), (std::vector<std::string>{"gone"}));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
