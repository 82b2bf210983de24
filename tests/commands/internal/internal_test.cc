#include "commands/internal/boot_restore.h"
#include "commands/internal/clustered_kadisk.h"
#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::ClusteredKadiskGet;
using FileSystem::ClusteredKadiskSet;
using Nmp::BootRestore;

class InternalTest : public CommandTest {};

TEST_F(InternalTest, KadiskSetThenGetShowsTheValueSet) {
  auto get = ClusteredKadiskGet::New();
  auto set = ClusteredKadiskSet::New();
  EXPECT_EQ(Record(*Run(*get, {"-l", "datastore1"})), (Row{{"Enabled", "false"}}));
  EXPECT_TRUE(IsTrue(*Run(*set, {"-l", "datastore1", "--enabled", "true"})));
  EXPECT_EQ(Volume("datastore1")["kovra"]["clustered_kadisk"], true);
  EXPECT_EQ(Record(*Run(*get, {"-u", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"})),
            (Row{{"Enabled", "true"}}));
  EXPECT_TRUE(IsTrue(*Run(*set, {"-l", "datastore1", "-e", "false"})));
  EXPECT_EQ(Volume("datastore1")["kovra"]["clustered_kadisk"], false);
}

TEST_F(InternalTest, BootRestoreCountsTheRestore) {
  auto output = Run(*BootRestore::New());
  EXPECT_TRUE(IsTrue(*output));
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Host()["psa"]["restores"], 1);
}

// Host failures, one row per handler, on the default host.
const std::vector<Path> kPaths = {
    // The restore answers true also after a failure.
    Case("BootRestoreFails", New<BootRestore>, {}, {{"RestorePsaConfig"}},
         {"RestorePsaConfig failed"}, kTrue),
    Case("KadiskGetFails", New<ClusteredKadiskGet>, {"-l", "datastore1"},
         {{"IsClusteredKadiskEnabled"}}, {"IsClusteredKadiskEnabled failed"}, kNoResult),
    Case("KadiskSetFails", New<ClusteredKadiskSet>, {"-l", "datastore1", "-e", "true"},
         {{"SetClusteredKadiskEnabled"}}, {"SetClusteredKadiskEnabled failed"}, kNoResult),
};

PATH_SUITE(InternalFailureTest, CommandTest, kPaths);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
