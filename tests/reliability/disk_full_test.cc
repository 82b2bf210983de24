// A store on a file system that fills up, simulated with a file-size limit
// (RLIMIT_FSIZE, SIGXFSZ ignored) on the process that writes: one clear
// line, exit status 3, nothing half-written, and a sound store afterwards.
#include <sqlite3.h>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

class DiskFullTest : public StorageTest {
 protected:
  // Runs `binary` with `args` under a file-size limit of `blocks` blocks of
  // the shell's `ulimit -f` (512 or 1024 bytes).
  static RunResult Limited(const std::string& binary, std::vector<std::string> args, int blocks,
                           const std::map<std::string, std::string>& env = {},
                           const std::string& input = "") {
    args.insert(args.begin(), {"-c", "trap '' XFSZ; ulimit -f \"$0\" && exec \"$@\"",
                               std::to_string(blocks), binary});
    return RunBinary("/bin/sh", args, env, input);
  }

  std::string IntegrityCheck() const {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(Store().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
      sqlite3_stmt* stmt = nullptr;
      sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
      result = sqlite3_step(stmt) == SQLITE_ROW
                   ? reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))
                   : sqlite3_errmsg(db);
      sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
  }

  void SetUp() override { ASSERT_EQ(Host({"init"}).status, 0); }
};

TEST_F(DiskFullTest, AWriteThatDoesNotFitFailsCleanlyAndChangesNothing) {
  // About 240 KB in one row: more than the limit lets the journal grow.
  const std::string name(120000, 'n');
  const std::vector<std::string> add = {"--store",    Store(), "storage",  "nfs", "add", "-H",
                                        "192.0.2.10", "-s",    "/" + name, "-v",  name};
  RunResult full = Limited(BinPath("tarvexcli"), add, 128);
  EXPECT_EQ(full.status, 3);
  EXPECT_EQ(full.err, Store() + ": the disk is full\n");
  EXPECT_EQ(full.out, "");
  EXPECT_EQ(IntegrityCheck(), "ok");
  const std::string added = "map(select(.Share == \"/" + name + "\")) | length";
  EXPECT_EQ(JsonOf({"storage", "nfs", "list"}, added), "0\n");

  // With room again the same command succeeds.
  ExpectTrue(std::vector<std::string>(add.begin() + 2, add.end()));
  EXPECT_EQ(JsonOf({"storage", "nfs", "list"}, added), "1\n");
  EXPECT_EQ(IntegrityCheck(), "ok");
}

TEST_F(DiskFullTest, NoRoomToOpenTheStoreIsTheSameClearError) {
  // The shared-memory index alone needs 32 KiB.
  RunResult host =
      Limited(BinPath("tarvex-host"), {"--store", Store(), "feature", "set", "7", "on"}, 8);
  EXPECT_EQ(host.status, 3);
  EXPECT_EQ(host.err, Store() + ": the disk is full\n");
  EXPECT_EQ(Host({"feature", "list"}).out.find("\n7 "), std::string::npos);

  RunResult agent =
      Limited(BinPath("../libexec/tarvex/notifyDatastore"), {"-t", "PreUnmount", "-i", "stdin"},
              128, {{"TARVEX_HOST_STORE", Store()}}, std::string(200000, 'x'));
  EXPECT_EQ(agent.status, 3);
  EXPECT_EQ(agent.err, "notifyDatastore: " + Store() + ": the disk is full\n");
  EXPECT_EQ(Host({"events"}).out, "");
  EXPECT_EQ(IntegrityCheck(), "ok");
}

}  // namespace
}  // namespace TarvexE2e
