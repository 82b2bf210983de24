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
  EXPECT_EQ(rows[0], (Row{{"Mount Point", "/kovra/volumes/5f1e2d3c-8a7b6c5d-1e2f-000c29a1b2c3"},
                          {"Volume Name", "ds-prod-01"},
                          {"UUID", "5f1e2d3c-8a7b6c5d-1e2f-000c29a1b2c3"},
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

TEST_F(VolumeListTest, RowsKeepTheStructureFieldOrderWhileTheTableShowsItsOwn) {
  auto spec = command_->GetOutputSpec();
  auto list = std::static_pointer_cast<Cordra::MetaObj::MetaList>(spec->GetRootObject());
  EXPECT_EQ(FieldNames(static_cast<Cordra::MetaObj::MetaStruct&>(*list->GetPrototype())),
            (std::vector<std::string>{"Mount Point", "Volume Name", "UUID", "Type", "Mounted",
                                      "Size", "Free"}));
  EXPECT_EQ(command_->GetDefaultOutputParameter("fields:FilesystemVolume"),
            "Mount Point,Volume Name,UUID,Mounted,Type,Size,Free");
  EXPECT_EQ(command_->GetDefaultOutputFormatter(), "table");
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

TEST_F(VolumeListTest, UnreadableVolumeIsSkippedWithItsMountPoint) {
  ArmFault("GetCapacity", "ds-legacy", "Unable to read the volume header");
  auto output = Run(*command_);
  EXPECT_EQ(Rows(*output).size(), 5u);
  EXPECT_EQ(Errors(*output),
            (std::vector<std::string>{
                "Error getting data for filesystem on "
                "'/kovra/volumes/4a2b3c4d-1a2b3c4d-5e6f-000c29a1b2c4': Unable to read the volume "
                "header, skipping."}));

  output = Run(*command_, {"--ignore-errors"});
  EXPECT_EQ(Rows(*output).size(), 5u);
  EXPECT_TRUE(Errors(*output).empty());
}

TEST_F(VolumeListTest, HostFailuresOutsideTheLoop) {
  UseHost(R"({"format": 1})"_json);
  auto output = Run(*command_);
  EXPECT_TRUE(HasResult(*output));
  EXPECT_TRUE(Rows(*output).empty());

  ArmFault("GetFileSystems", "", "Storage information is not available");
  output = Run(*command_);
  EXPECT_FALSE(HasResult(*output));
  EXPECT_EQ(Errors(*output), (std::vector<std::string>{"Storage information is not available"}));
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
