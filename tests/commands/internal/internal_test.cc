#include "commands/internal/boot_restore.h"
#include "commands/internal/clustered_kadisk.h"
#include "tests/commands/command_test.h"
#include "tests/commands/filesystem/datastore_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

class ClusteredKadiskTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    UseHost(DatastoreHost());
  }
  std::shared_ptr<FileSystem::ClusteredKadiskGet> get_ = FileSystem::ClusteredKadiskGet::New();
  std::shared_ptr<FileSystem::ClusteredKadiskSet> set_ = FileSystem::ClusteredKadiskSet::New();
};

TEST_F(ClusteredKadiskTest, SetThenGetShowsTheValueSet) {
  auto output = Run(*get_, {"-l", "ds-prod-01"});
  EXPECT_EQ(Record(*output), (Row{{"Enabled", "false"}}));

  output = Run(*set_, {"-l", "ds-prod-01", "--enabled", "true"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Volume("ds-prod-01")["kovra"]["clustered_kadisk"], true);
  output = Run(*get_, {"-u", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"});
  EXPECT_EQ(Record(*output), (Row{{"Enabled", "true"}}));

  output = Run(*set_, {"-l", "ds-prod-01", "-e", "false"});
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_EQ(Record(*Run(*get_, {"-l", "ds-prod-01"})), (Row{{"Enabled", "false"}}));
}

TEST_F(ClusteredKadiskTest, BootRestoreCountsTheRestore) {
  auto restore = Nmp::BootRestore::New();
  auto output = Run(*restore);
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Host()["psa"]["restores"], 1);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
