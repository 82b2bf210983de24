// Kovra administration on the default host: upgrade, unmap, space
// reclamation settings, locking mode and the pointer-block cache statistics.
#include <string>
#include <vector>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

class KovraAdminTest : public StorageTest {
 protected:
  // FILTER over the volume NAME of `filesystem list` (JSON).
  std::string Volume(const std::string& name, const std::string& filter) const {
    return JsonOf({"storage", "filesystem", "list"},
                  ".[] | select(.\"Volume Name\" == \"" + name + "\") | " + filter);
  }
  // The space the host says unmaps of volume NAME have released.
  std::string Reclaimed(const std::string& name) const {
    return Jq(Host({"dump"}).out, ".volumes[] | select(.name == \"" + name + "\").kovra.reclaimed");
  }
};

TEST_F(KovraAdminTest, UpgradeThenUnmap) {
  ExpectTrue({"storage", "kovra", "upgrade", "-l", "legacy3"});
  EXPECT_EQ(Volume("legacy3", ".Type"), "Kovra-5\n");
  ExpectFails({"storage", "kovra", "upgrade", "-l", "legacy3"}, 1,
              "Cannot upgrade volume 'legacy3': only a Kovra-3 volume can be upgraded to Kovra-5, "
              "this one is Kovra-5\n");

  // 320 GiB free, unmapped in whole iterations of 200 blocks of 1 MiB.
  EXPECT_EQ(Volume("datastore1", ".Free"), "343597383680\n");
  ExpectTrue({"storage", "kovra", "unmap", "-l", "datastore1"});
  EXPECT_EQ(Reclaimed("datastore1"), "343513497600\n");
  EXPECT_EQ(Volume("datastore1", ".Free"), "343597383680\n");
  ExpectTrue({"storage", "kovra", "unmap", "-u", "58b3c5d7-2e4f6a8b-3c5d-027a3ea1b2c3", "-n", "1"});
  EXPECT_EQ(Reclaimed("ssd-fast"), "206158430208\n");
  ExpectFails({"storage", "kovra", "unmap", "-l", "ssd-fast", "-n", "0"}, 1,
              "reclaimUnit must be greater than zero\n");
  EXPECT_EQ(Reclaimed("ssd-fast"), "206158430208\n");
}

TEST_F(KovraAdminTest, ReclaimConfigSetThenGetForPeopleAndMachines) {
  ExpectTrue({"storage", "kovra", "reclaim", "config", "set", "-l", "datastore1", "-m", "fixed",
              "-b", "250", "-g", "2097152"});
  const std::vector<std::string> get = {"storage", "kovra", "reclaim",   "config",
                                        "get",     "-l",    "datastore1"};
  auto formatted = [&](const std::string& format) {
    std::vector<std::string> args = {"--format", format};
    args.insert(args.end(), get.begin(), get.end());
    return Output(args);
  };
  EXPECT_EQ(Output(get),
            "   Reclaim Granularity: 2097152 Bytes\n"
            "   Reclaim Priority:\n"
            "   Reclaim Method: fixed\n"
            "   Reclaim Bandwidth: 250 MB/s\n");
  EXPECT_EQ(Jq(formatted("json"), "[.[] | tostring] | join(\"|\")"), "2097152||fixed|250\n");
  EXPECT_EQ(
      formatted("table"),
      "Reclaim Granularity (Bytes)  Reclaim Priority  Reclaim Method  Reclaim Bandwidth (MB/s)\n"
      "---------------------------  ----------------  --------------  ------------------------\n"
      "2097152                                        fixed           250\n");

  // A priority alone goes back to the priority method without bandwidth.
  ExpectTrue({"storage", "kovra", "reclaim", "config", "set", "-l", "datastore1", "-p", "high"});
  EXPECT_EQ(Jq(formatted("json"), "[.[] | tostring] | join(\"|\")"), "0|high|priority|0\n");
}

TEST_F(KovraAdminTest, LockModeAtsShowsInBothLists) {
  const std::string modes = ".[] | \"\\(.\"Locking Mode\") \\(.\"ATS Upgrade Modes\")\"";
  const std::string status = "[.[].Status] | join(\",\")";
  EXPECT_EQ(JsonOf({"storage", "kovra", "host", "list", "-l", "ssd-fast"}, status), "Normal\n");
  ExpectTrue({"storage", "kovra", "lockmode", "set", "--ats", "-l", "ssd-fast"});
  EXPECT_EQ(JsonOf({"storage", "kovra", "lockmode", "list", "-l", "ssd-fast"}, modes),
            "ATS No upgrade needed\n");
  EXPECT_EQ(JsonOf({"storage", "kovra", "host", "list", "-l", "ssd-fast"}, status),
            "INVALID (needs unmount)\n");

  // A live host that still uses SCSI makes the change pending.
  ExpectTrue({"storage", "kovra", "lockmode", "set", "-a", "-l", "datastore2"});
  EXPECT_EQ(JsonOf({"storage", "kovra", "lockmode", "list", "-l", "datastore2"}, modes),
            "ATS UPGRADE PENDING No upgrade needed\n");
  EXPECT_EQ(JsonOf({"storage", "kovra", "host", "list", "-l", "datastore2"}, status),
            "ATS Upgrade Pending,Normal,ATS Upgrade Pending\n");

  ExpectFails({"storage", "kovra", "lockmode", "set", "--ats", "-l", "archive"}, 1,
              "Cannot set ATS-only locking on volume 'archive': device "
              "naa.6000d310005a2b3c4d5e6f7a8b9c0d11 does not support ATS\n");
  EXPECT_EQ(JsonOf({"storage", "kovra", "lockmode", "list", "-l", "archive"}, modes),
            "ATS+SCSI None\n");
}

TEST_F(KovraAdminTest, PbcacheResetClearsTheMissRatioAndTheWorkingSetMaximum) {
  EXPECT_EQ(Output({"storage", "kovra", "pbcache", "get"}),
            "   Cache Capacity Miss Ratio: 3 %\n"
            "   Cache Size: 768 MiB\n"
            "   Cache Size Max: 1024 MiB\n"
            "   Cache Usage: 75 %\n"
            "   Cache Working Set: 2 TiB\n"
            "   Cache Working Set Max: 4 TiB\n"
            "   Kovra Heap Overhead: 1536 KiB\n"
            "   Kovra Heap Size: 80 MiB\n"
            "   Kovra Heap Size Max: 256 MiB\n");
  ExpectTrue({"storage", "kovra", "pbcache", "reset"});
  EXPECT_EQ(JsonOf({"storage", "kovra", "pbcache", "get"}, "[.[] | tostring] | join(\" \")"),
            "0 768 1024 75 2 2 1536 80 256\n");
}

}  // namespace
}  // namespace TarvexE2e
