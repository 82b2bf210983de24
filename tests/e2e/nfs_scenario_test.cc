// NFS v3 volumes as a user manages them with tarvexcli and tarvex-host:
// add, list, parameters, the preunmount state, removal, and what the two
// feature switches (145 strelnic binding, 284 preunmount) change.
#include <string>
#include <vector>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

class NfsScenarioTest : public StorageTest {
 protected:
  // The names `storage nfs list ARGS` shows, one per line.
  std::string NasNames(const std::vector<std::string>& args = {}) const {
    std::vector<std::string> full = {"storage", "nfs", "list"};
    full.insert(full.end(), args.begin(), args.end());
    return JsonOf(full, ".[].\"Volume Name\"");
  }
};

TEST_F(NfsScenarioTest, AddListParamsPreunmountAndRemoveOnTheDefaultHost) {
  ExpectTrue({"storage", "nfs", "add", "-H", "192.0.2.77", "-s", "/exports/a", "-v", "nas-a"});
  ExpectTrue({"storage", "nfs", "add", "--host-strelnic", "192.0.2.78:tvn0", "-s", "/exports/b",
              "-v", "nas-b"});
  EXPECT_EQ(
      Output({"storage", "nfs", "list"}),
      R"(Volume Name  Host           Share           Strelnic  Accessible  Mounted  Read-Only  isPE   Hardware Acceleration
-----------  -------------  --------------  --------  ----------  -------  ---------  -----  ---------------------
nfs-iso      192.0.2.10     /exports/iso              true        true     true       false  Not Supported
nfs-backup   198.51.100.20  /vol/backup     tvn1      true        true     false      false  Supported
nfs-legacy   203.0.113.50   /export/legacy            false       false    false      false  Unknown
nas-a        192.0.2.77     /exports/a                true        true     false      false  Unknown
nas-b        192.0.2.78     /exports/b      tvn0      true        true     false      false  Unknown
)");
  EXPECT_EQ(NasNames({"--pe-only"}), "pe-vobj0\n");

  // The strelnic parameter is configured at once and bound at the next mount.
  ExpectTrue({"storage", "nfs", "param", "set", "-v", "nas-a", "-q", "32", "-I", "tvn1"});
  const std::string params = ".[] | \"\\(.\"Volume Name\") \\(.MaxQueueDepth) \\(.Strelnic)\"";
  EXPECT_EQ(JsonOf({"storage", "nfs", "param", "get", "-v", "nas-a"}, params), "nas-a 32 tvn1\n");
  EXPECT_EQ(
      JsonOf({"storage", "nfs", "list"}, ".[] | select(.\"Volume Name\" == \"nas-a\").Strelnic"),
      "\n");

  ExpectTrue({"storage", "nfs", "preunmountstate", "enter", "-v", "nas-a"});
  ExpectFails({"storage", "nfs", "preunmountstate", "enter", "-v", "nas-a"}, 1,
              "Preunmount Enter failed for nas-a: Cannot enter the preunmount state of NAS volume "
              "'nas-a': the volume is already in the preunmount state\n");
  ExpectTrue({"storage", "nfs", "preunmountstate", "exit", "-v", "nas-a"});

  ExpectTrue({"storage", "nfs", "remove", "-v", "nas-a"});
  EXPECT_EQ(Events(), "PreUnmount nas-a\n");
  EXPECT_EQ(NasNames(), "nfs-iso\nnfs-backup\nnfs-legacy\nnas-b\n");
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"},
                   "[.[].\"Volume Name\" | select(startswith(\"nas-\"))] | join(\",\")"),
            "nas-b\n");
  ExpectFails({"storage", "nfs", "remove", "-v", "nas-a"}, 1,
              "Cannot remove NFS volume 'nas-a': no volume has that name\n");
  EXPECT_EQ(Events(), "PreUnmount nas-a\nPreUnmount nas-a\nFailedUnmount nas-a\n");
}

TEST_F(NfsScenarioTest, FeatureSwitchesChangeTheCommands) {
  ASSERT_EQ(Host({"feature", "set", "284", "off"}).status, 0);
  const std::string help = Output({"storage", "nfs", "--help"});
  EXPECT_NE(help.find("  param  Operations on volume parameters of NAS filesystems.\n"),
            std::string::npos)
      << help;
  EXPECT_EQ(help.find("preunmountstate"), std::string::npos) << help;
  ExpectFails({"storage", "nfs", "preunmountstate", "enter", "-v", "nfs-iso"}, 2,
              "Unknown namespace or command 'preunmountstate' in 'storage nfs'\n");

  ASSERT_EQ(Host({"feature", "set", "145", "off"}).status, 0);
  ExpectFails({"storage", "nfs", "add", "-s", "/exports/c", "-v", "nas-c"}, 2,
              "Missing required option --host\n");
  const std::string list = Output({"storage", "nfs", "list"});
  EXPECT_EQ(list.substr(0, list.find('\n')),
            "Volume Name  Host           Share           Accessible  Mounted  Read-Only  isPE   "
            "Hardware Acceleration");
  EXPECT_EQ(JsonOf({"storage", "nfs", "list"}, "map(keys_unsorted | join(\",\")) | unique[]"),
            "Volume Name,Host,Share,Accessible,Mounted,Read-Only,isPE,Hardware Acceleration\n");
  EXPECT_EQ(NasNames(), "nfs-iso\nnfs-backup\nnfs-legacy\n");
}

TEST_F(NfsScenarioTest, UnreachableServerIsRolledBackUnlessPreunmountIsOn) {
  LoadFixture(R"({"format": 1, "features": {"145": true}, "strelnics": ["tvn0"],
    "nfs_servers": [{"address": "192.0.2.99", "reachable": false}]})");
  const std::vector<std::string> add = {"storage", "nfs", "add", "-H",   "192.0.2.99",
                                        "-s",      "/x",  "-v",  "nas-x"};
  const std::string failure =
      "Cannot mount volume 'nas-x': Unable to connect to NFS server 192.0.2.99\n";
  ExpectFails(add, 1, failure);
  EXPECT_EQ(NasNames(), "");
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"}, "length"), "0\n");

  // With the preunmount switch on a failed mount is kept, unmounted.
  ASSERT_EQ(Host({"feature", "set", "284", "on"}).status, 0);
  ExpectFails(add, 1, failure);
  EXPECT_EQ(JsonOf({"storage", "nfs", "list"}, ".[] | \"\\(.\"Volume Name\") \\(.Mounted)\""),
            "nas-x false\n");
}

TEST_F(NfsScenarioTest, QueueDepthOutOfRangeIsAUsageErrorAndChangesNothing) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"param", "set", "-v", "nfs-backup", "-q", "0"}, "Invalid value '0' for --maxqueuedepth"},
      {{"add", "-H", "192.0.2.77", "-s", "/a", "-v", "nas-a", "--unsupported-mount-retry",
        "--unsupported-queue-depth", "-1"},
       "Invalid value '-1' for --unsupported-queue-depth"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"storage", "nfs"};
    args.insert(args.end(), c.first.begin(), c.first.end());
    ExpectFails(args, 2, c.second + ": expected an integer from 1 to 4294967295\n");
  }
  EXPECT_EQ(JsonOf({"storage", "nfs", "param", "get", "-v", "all"},
                   ".[] | \"\\(.\"Volume Name\") \\(.MaxQueueDepth)\""),
            "nfs-iso 4294967295\nnfs-backup 64\nnfs-legacy 4294967295\n");
}

}  // namespace
}  // namespace TarvexE2e
