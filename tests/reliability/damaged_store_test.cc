// A store whose pages are damaged is refused with one clear line and exit
// status 3, and left exactly as it was, whichever journal mode it is in
// (a store in rollback-journal mode used to be switched to WAL first).
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

class DamagedStoreTest : public StorageTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override { ASSERT_EQ(Host({"init"}).status, 0); }

  void SetJournalMode(const std::string& mode) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Store().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, ("PRAGMA journal_mode = " + mode).c_str(), nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
  }

  // Overwrites the third page (a table's root) with 0xff bytes.
  void DamageAPage() const {
    std::fstream file(Store(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(2 * 4096);
    const std::string garbage(4096, '\xff');
    file.write(garbage.data(), garbage.size());
  }

  std::string Bytes() const {
    std::ifstream file(Store(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
  }
};

TEST_P(DamagedStoreTest, IsRefusedAndLeftAsItWas) {
  SetJournalMode(GetParam());
  DamageAPage();
  const std::string before = Bytes();

  RunResult dump = Host({"dump"});
  EXPECT_EQ(dump.status, 3);
  EXPECT_EQ(dump.err, Store() + ": the store is corrupt\n");
  RunResult list = Cli({"storage", "nfs", "list"});
  EXPECT_EQ(list.status, 3);
  EXPECT_EQ(list.err, Store() + ": the store is corrupt\n");
  EXPECT_EQ(list.out, "");
  EXPECT_TRUE(Bytes() == before) << "the damaged store was changed";
}

INSTANTIATE_TEST_SUITE_P(JournalModes, DamagedStoreTest, ::testing::Values("WAL", "DELETE"));

}  // namespace
}  // namespace TarvexE2e
