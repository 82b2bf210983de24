// Datastore commands as a user runs them on the default host.
#include <algorithm>
#include <fstream>
#include <string>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(StorageTest, FilesystemListShowsEveryVolumeInTableAndJson) {
  RunResult table = Cli({"storage", "filesystem", "list"});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_EQ(table.err, "");
  EXPECT_EQ(table.out.rfind("Mount Point", 0), 0u);
  const std::string header = table.out.substr(0, table.out.find('\n'));
  const char* columns[] = {"Mount Point", "Volume Name", "UUID", "Mounted", "Type", "Size", "Free"};
  size_t at = 0;
  for (const char* column : columns) {
    const size_t found = header.find(column, at);
    ASSERT_NE(found, std::string::npos) << column << " in " << header;
    at = found;
  }

  RunResult json = Cli({"--format", "json", "storage", "filesystem", "list"});
  ASSERT_EQ(json.status, 0) << json.err;
  const size_t rows = std::count(table.out.begin(), table.out.end(), '\n') - 2;
  EXPECT_EQ(Jq(json.out, "length"), std::to_string(rows) + "\n");
  EXPECT_EQ(Jq(json.out, ".[] | select(.\"Volume Name\" == \"legacy3\") | .Type, .Mounted"),
            "Kovra-3\ntrue\n");
}

TEST_F(StorageTest, UnmountThenListThenEventsThenMountAgain) {
  RunResult unmount = Cli({"storage", "filesystem", "unmount", "-l", "datastore1"});
  EXPECT_EQ(unmount.status, 0) << unmount.err;
  EXPECT_EQ(unmount.out, "true\n");

  RunResult list = Cli({"--format", "json", "storage", "filesystem", "list"});
  EXPECT_EQ(Jq(list.out, ".[] | select(.\"Volume Name\" == \"datastore1\") | .Mounted"), "false\n");
  RunResult events = Host({"events", "--json"});
  EXPECT_EQ(Jq(events.out, ".[] | .event + \" \" + .input"), "PreUnmount datastore1\n");

  RunResult mount = Cli({"storage", "filesystem", "mount", "--volume-label", "datastore1"});
  EXPECT_EQ(mount.status, 0) << mount.err;
  list = Cli({"--format", "json", "storage", "filesystem", "list", "-u",
              "5f1e2d3c-8a7b6c5d-1e2f-000c29a1b2c3"});
  EXPECT_EQ(Jq(list.out, ".[0].Mounted"), "true\n");
}

TEST_F(StorageTest, BusyVolumeFailsWithBothNotifications) {
  RunResult unmount = Cli({"storage", "filesystem", "unmount", "-l", "vm-busy"});
  EXPECT_EQ(unmount.status, 1);
  EXPECT_EQ(unmount.out, "");
  EXPECT_EQ(unmount.err, "Volume 'vm-busy' cannot be unmounted. Reason: Busy\n");
  RunResult events = Host({"events", "--json"});
  EXPECT_EQ(Jq(events.out, ".[] | .event + \" \" + .input"),
            "PreUnmount vm-busy\nFailedUnmount vm-busy\n");
}

TEST_F(StorageTest, NonPersistentMountIsUndoneByARestart) {
  RunResult mount = Cli({"storage", "filesystem", "mount", "-l", "scratch", "--no-persist"});
  EXPECT_EQ(mount.status, 0) << mount.err;
  const std::string filter = ".[] | select(.\"Volume Name\" == \"scratch\") | .Mounted";
  EXPECT_EQ(Jq(Cli({"--format", "json", "storage", "filesystem", "list"}).out, filter), "true\n");
  ASSERT_EQ(Host({"restart"}).status, 0);
  EXPECT_EQ(Jq(Cli({"--format", "json", "storage", "filesystem", "list"}).out, filter), "false\n");
}

TEST_F(StorageTest, RescanAndAutomountAnswerTrueOrTheInjectedFault) {
  RunResult rescan = Cli({"storage", "filesystem", "rescan"});
  EXPECT_EQ(rescan.status, 0) << rescan.err;
  EXPECT_EQ(rescan.out, "true\n");
  EXPECT_EQ(Cli({"storage", "filesystem", "automount"}).out, "true\n");

  ArmFault("RescanKovra", "", "Rescan of adapter vmhba2 failed: timed out");
  rescan = Cli({"storage", "filesystem", "rescan"});
  EXPECT_EQ(rescan.status, 1);
  EXPECT_EQ(rescan.out, "");
  EXPECT_EQ(rescan.err, "Rescan of adapter vmhba2 failed: timed out\n");
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
      "uuid": "5f1e2d3c-8a7b6c5d-1e2f-000c29a1b2c3", "capacity": 10, "used": 1,
      "kovra": {"version": 6, "lvm_uuid": "5f1e2d3b-8a7b6c5d-1e2f-000c29a1b2c3",
                "extents": [{"device": "naa.600a0b80001d3f2c", "partition": 1}]}}]})");
  RunResult unmount = Cli({"storage", "filesystem", "unmount", "-a"});
  EXPECT_EQ(unmount.status, 0) << unmount.err;
  RunResult events = Host({"events", "--json"});
  EXPECT_EQ(Jq(events.out, ".[0].input"), name + "\n");
  EXPECT_FALSE(std::ifstream(marker).good());
}

TEST_F(StorageTest, InternalCommandsOnTheDefaultHost) {
  RunResult help = Cli({"storage", "internal", "--help"});
  EXPECT_TRUE(Contains(help.out, "core")) << help.out;
  EXPECT_TRUE(Contains(help.out, "Manage clustered Kadisk support.")) << help.out;

  RunResult set = Cli(
      {"storage", "internal", "clusteredkadisk", "set", "-l", "datastore1", "--enabled", "true"});
  EXPECT_EQ(set.status, 0) << set.err;
  RunResult get = Cli(
      {"--format", "json", "storage", "internal", "clusteredkadisk", "get", "-l", "datastore1"});
  EXPECT_EQ(Jq(get.out, ".Enabled"), "true\n");

  RunResult restore = Cli({"storage", "internal", "nmp", "boot", "restore"});
  EXPECT_EQ(restore.status, 0);
  EXPECT_EQ(restore.out, "true\n");
  ArmFault("RestorePsaConfig", "", "Claim rules could not be loaded");
  restore = Cli({"storage", "internal", "nmp", "boot", "restore"});
  EXPECT_EQ(restore.status, 1);
  EXPECT_EQ(restore.out, "true\n");
  EXPECT_EQ(restore.err, "Claim rules could not be loaded\n");
}

}  // namespace
}  // namespace TarvexE2e
