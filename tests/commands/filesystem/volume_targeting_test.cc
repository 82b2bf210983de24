#include "commands/filesystem/volume_targeting.h"

#include "commands/filesystem/kovra_version.h"
#include "framework/parser.h"
#include "strelctl/storage.h"
#include "tests/commands/command_test.h"
#include "tests/commands/filesystem/datastore_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::KovraVolumes;
using Messages = std::vector<std::string>;

class TargetingTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    UseHost(DatastoreHost());
  }
  static std::shared_ptr<Cordra::CallSpec::Input> Parse(
      const std::shared_ptr<Cordra::CallSpec::InputSpec>& spec, const Messages& args) {
    return Cordra::Frame::ParseArguments(*spec, args);
  }
  std::vector<std::string> Names(const KovraVolumes& volumes) {
    std::vector<std::string> names;
    for (const auto& v : volumes) names.push_back(v->GetVolumeName());
    return names;
  }
  std::shared_ptr<Output> output_ = std::make_shared<Output>();
};

TEST_F(TargetingTest, SingleVolumeChecksOptionsBeforeTheHost) {
  ArmFault("GetKovraFileSystemByLabel", "", "must not be asked");
  const auto spec = FileSystem::GetSingleKovraVolumeInputSpec();
  EXPECT_FALSE(FileSystem::GetSingleKovraVolume(
      Parse(spec, {"--volume-label", "a", "--volume-uuid", "b"}), output_));
  EXPECT_FALSE(FileSystem::GetSingleKovraVolume(Parse(spec, {}), output_));
  EXPECT_EQ(Errors(*output_),
            (Messages{"You cannot specify both --volume-label and --volume-uuid.",
                      "A target Kovra volume must be specified either by --volume-label or "
                      "--volume-uuid."}));
}

TEST_F(TargetingTest, MultipleVolumesInTheOrderGivenLabelsFirst) {
  const auto spec = FileSystem::GetMultipleKovraVolumesInputSpec();
  KovraVolumes volumes;
  EXPECT_TRUE(FileSystem::GetMultipleKovraVolumes(Parse(spec, {}), output_, volumes));
  // Every Kovra volume, the unmounted one too; not the NAS volume.
  EXPECT_EQ(Names(volumes),
            (std::vector<std::string>{"ds-prod-01", "ds-legacy", "ds-offline", "ds-busy"}));

  volumes.clear();
  EXPECT_TRUE(FileSystem::GetMultipleKovraVolumes(
      Parse(spec, {"--volume-uuid", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3", "--volume-label",
                   "ds-busy", "--volume-label", "ds-prod-01"}),
      output_, volumes));
  EXPECT_EQ(Names(volumes), (std::vector<std::string>{"ds-busy", "ds-prod-01", "ds-prod-01"}));
  EXPECT_TRUE(Errors(*output_).empty());
}

TEST_F(TargetingTest, MissingVolumesAreReportedUnlessIgnored) {
  const auto spec = FileSystem::GetMultipleKovraVolumesInputSpec();
  KovraVolumes volumes;
  EXPECT_FALSE(FileSystem::GetMultipleKovraVolumes(
      Parse(spec,
            {"--volume-label", "nosuch", "--volume-label", "ds-legacy", "--volume-uuid", "0000"}),
      output_, volumes));
  EXPECT_EQ(Names(volumes), (std::vector<std::string>{"ds-legacy"}));
  EXPECT_EQ(Errors(*output_), (Messages{"Error fetching Kovra volume with label 'nosuch'",
                                        "Error fetching Kovra volume with uuid '0000'"}));

  auto quiet = std::make_shared<Output>();
  volumes.clear();
  EXPECT_TRUE(FileSystem::GetMultipleKovraVolumes(
      Parse(spec, {"--volume-label", "nosuch", "--volume-label", "ds-legacy", "--ignore-errors"}),
      quiet, volumes));
  EXPECT_EQ(Names(volumes), (std::vector<std::string>{"ds-legacy"}));
  EXPECT_TRUE(Errors(*quiet).empty());

  ArmFault("GetKovraFileSystemByUUID", "", "lookup failed");
  volumes.clear();
  EXPECT_FALSE(FileSystem::GetMultipleKovraVolumes(
      Parse(spec, {"--volume-label", "ds-legacy", "--volume-uuid", "x"}), quiet, volumes));
  EXPECT_EQ(Names(volumes), (std::vector<std::string>{"ds-legacy"}));
  EXPECT_EQ(Errors(*quiet), Messages{"lookup failed"});
}

TEST_F(TargetingTest, VersionTextAsksTheVersionOnlyOfKovraVolumes) {
  StrelCtl::Storage::StorageInfoImpl storage;
  ArmFault("GetMajorVersion", "nas-iso", "must not be asked");
  EXPECT_STREQ(FileSystem::GetKovraVersionString(storage.GetFileSystemByLabel("nas-iso").get()),
               "Non-Kovra");
  EXPECT_STREQ(FileSystem::GetKovraVersionString(storage.GetFileSystemByLabel("ds-busy").get()),
               "Kovra-unknown version");
  EXPECT_STREQ(FileSystem::GetKovraVersionString(storage.GetFileSystemByLabel("ds-legacy").get()),
               "Kovra-3");
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
