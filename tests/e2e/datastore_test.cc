// Datastore commands as a user runs them on the default host.
#include <algorithm>
#include <fstream>
#include <string>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

TEST_F(StorageTest, FilesystemListShowsEveryVolumeInTableAndJson) {
  const std::string table = Output({"storage", "filesystem", "list"});
  const std::string header = table.substr(0, table.find('\n'));
  size_t at = 0;
  for (const char* column :
       {"Mount Point", "Volume Name", "UUID", "Mounted", "Type", "Size", "Free"}) {
    at = header.find(column, at);
    ASSERT_NE(at, std::string::npos) << column << " in " << header;
  }
  EXPECT_EQ(header.rfind("Mount Point", 0), 0u);
  const size_t rows = std::count(table.begin(), table.end(), '\n') - 2;
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"}, "length"), std::to_string(rows) + "\n");
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"},
                   ".[] | select(.\"Volume Name\" == \"legacy3\") | .Type, .Mounted"),
            "Kovra-3\ntrue\n");
}

TEST_F(StorageTest, UnmountThenListThenEventsThenMountAgain) {
  const std::string mounted = ".[] | select(.\"Volume Name\" == \"datastore1\") | .Mounted";
  ExpectTrue({"storage", "filesystem", "unmount", "-l", "datastore1"});
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"}, mounted), "false\n");
  EXPECT_EQ(Events(), "PreUnmount datastore1\n");
  ExpectTrue({"storage", "filesystem", "mount", "--volume-label", "datastore1"});
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list", "-u", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"},
                   ".[0].Mounted"),
            "true\n");
}

TEST_F(StorageTest, BusyVolumeFailsWithBothNotifications) {
  ExpectFails({"storage", "filesystem", "unmount", "-l", "vm-busy"}, 1,
              "Volume 'vm-busy' cannot be unmounted. Reason: Busy\n");
  EXPECT_EQ(Events(), "PreUnmount vm-busy\nFailedUnmount vm-busy\n");
}

TEST_F(StorageTest, NonPersistentMountIsUndoneByARestart) {
  ExpectTrue({"storage", "filesystem", "mount", "-l", "scratch", "--no-persist"});
  const std::string filter = ".[] | select(.\"Volume Name\" == \"scratch\") | .Mounted";
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"}, filter), "true\n");
  ASSERT_EQ(Host({"restart"}).status, 0);
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"}, filter), "false\n");
}

// Actions that answer "true", then the host fault they report once armed.
TEST_F(StorageTest, ActionsAnswerTrueOrTheInjectedFault) {
  struct Case {
    std::vector<std::string> args;
    std::string operation, message, out_on_failure;
  };
  const std::vector<Case> cases = {
      {{"storage", "filesystem", "rescan"},
       "RescanKovra",
       "Rescan of adapter hbadp2 failed: timed out",
       ""},
      {{"storage", "filesystem", "automount"}, "", "", ""},
      {{"storage", "internal", "nmp", "boot", "restore"},
       "RestorePsaConfig",
       "Claim rules could not be loaded",
       "true\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    ExpectTrue(c.args);
    if (c.operation.empty()) continue;
    ArmFault(c.operation, "", c.message);
    ExpectFails(c.args, 1, c.message + "\n", c.out_on_failure);
  }
}

TEST_F(StorageTest, VolumeNameReachesTheAgentByteExactAndRunsNothing) {
  const std::string marker = dir_path() + "/ran";
  const std::string name = "ds'; touch " + marker + "; echo \"$(id)\n`id`";
  std::string escaped;
  for (char c : name) {
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  LoadFixture(R"({"format": 1, "devices": [{"name": "naa.600a0b80001d3f2c"}],
    "volumes": [{"type": "Kovra", "name": ")" +
              escaped + R"(",
      "uuid": "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3", "capacity": 10, "used": 1,
      "kovra": {"version": 6, "lvm_uuid": "5f1e2d3b-8a7b6c5d-1e2f-027a3ea1b2c3",
                "extents": [{"device": "naa.600a0b80001d3f2c", "partition": 1}]}}]})");
  ExpectTrue({"storage", "filesystem", "unmount", "-a"});
  EXPECT_EQ(Jq(Host({"events", "--json"}).out, ".[0].input"), name + "\n");
  EXPECT_FALSE(std::ifstream(marker).good());
}

TEST_F(StorageTest, InternalCommandsOnTheDefaultHost) {
  const std::string help = Output({"storage", "internal", "--help"});
  EXPECT_NE(help.find("  core "), std::string::npos) << help;
  EXPECT_NE(help.find("Manage clustered Kadisk support."), std::string::npos) << help;
  ExpectTrue(
      {"storage", "internal", "clusteredkadisk", "set", "-l", "datastore1", "--enabled", "true"});
  EXPECT_EQ(
      JsonOf({"storage", "internal", "clusteredkadisk", "get", "-l", "datastore1"}, ".Enabled"),
      "true\n");
}

}  // namespace
}  // namespace TarvexE2e
