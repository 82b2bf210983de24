// The store file: where it lives, how it is made (leaving no stray file or
// descriptor), what makes it unusable (always a StoreError naming the file,
// and the file left as it was), a full disk, and the migration of a store of
// the oldest schema.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <type_traits>
#include <vector>

#include "host_test_support.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/schema.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/store_file.h"
#include "hostctl/store/volume_fields.h"

namespace HostTest {
namespace {

using HostCtl::Sim::StoreError;

class StoreTest : public ::testing::Test {
 protected:
  void TearDown() override { HostCtl::Sim::SetStorePath(""); }
  TempDir dir_;
};

TEST_F(StoreTest, FilesThatAreNotUsableStoresAreRefusedAndLeftAsTheyWere) {
  for (const UnusableStore& store : MakeUnusableStores(dir_)) {
    SCOPED_TRACE(store.path);
    std::string before = ReadFile(store.path);
    HostCtl::Sim::SetStorePath(store.path);
    EXPECT_EQ(ErrorOf<StoreError>(HostCtl::Sim::OpenStore), store.path + ": " + store.reason);
    EXPECT_EQ(ReadFile(store.path), before);
  }
}

// A file system that fills up: a file-size limit on this process (SIGXFSZ
// ignored) fails writes the way a full disk does.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_;
};

// What a creator that died left beside the store goes at the next open; what
// a running one is making, and any other file, stays.
TEST_F(StoreTest, OpeningRemovesOnlyTheLeftoversOfDeadCreators) {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child);
  const std::string live = std::to_string(getpid());
  const struct {
    std::string name;
    bool removed;
  } files[] = {
      {"h.db.new-" + dead + "-1", true},
      {"h.db.new-" + dead + "-12-journal", true},
      {"h.db.new-" + dead + "-1-wal", true},
      {"h.db.new-" + dead + "-1-shm", true},
      {"h.db.new-" + live + "-1", false},
      {"h.db.new-" + dead, false},
      {"h.db.new-" + dead + "-", false},
      {"h.db.new-" + dead + "-1-old", false},
      {"h.db.new--1", false},
      {"h.db.new-1234567890-1", false},
      {"x.db.new-" + dead + "-1", false},
  };
  for (const auto& file : files) WriteFile(dir_.Path(file.name), "");
  const auto open_files = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  const auto before = open_files();
  HostCtl::Sim::SetStorePath(dir_.Path("h.db"));
  HostCtl::Sim::OpenStore();
  for (const auto& file : files) {
    EXPECT_EQ(access(dir_.Path(file.name).c_str(), F_OK) != 0, file.removed) << file.name;
  }
  HostCtl::Sim::SetStorePath("");
  EXPECT_EQ(open_files(), before);  // making and opening the store left nothing open
}

// `tarvex-host init` makes the directories a store's path needs, also for a
// relative path; one that cannot be made is named.
TEST_F(StoreTest, InitMakesTheMissingDirectories) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  EXPECT_TRUE(HostCtl::Sim::InitStoreFile("a/b/h.db", HostCtl::Sim::HostModel(), false));
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_.Path("a/b/h.db")));
  EXPECT_EQ(
      ErrorOf<StoreError>([] {
        HostCtl::Sim::InitStoreFile("/proc/tarvex/h.db", HostCtl::Sim::HostModel(), false);
      }),
      "/proc/tarvex/h.db: cannot create the directory /proc/tarvex: No such file or directory");
}

// Another process may link its file into place while this one makes the
// store: what is there then is checked like any file found at the start.
TEST_F(StoreTest, AFileThatTookThePlaceMeanwhileIsCheckedToo) {
  const std::string path = dir_.Path("raced.db");
  const auto initial = [&] {
    WriteFile(path, "");
    return HostCtl::Sim::HostModel();
  };
  EXPECT_EQ(ErrorOf<StoreError>([&] { HostCtl::Sim::OpenStoreFile(path, initial); }),
            path + ": is an empty file, not a tarvex host store");
  EXPECT_EQ(ReadFile(path), "");
}

TEST_F(StoreTest, AFullDiskFailsClearlyWritesNothingAndTheStoreWorksOnceThereIsRoom) {
  std::string path = dir_.Path("full.db");
  HostCtl::Sim::SetStorePath(path);
  HostCtl::Sim::OpenStore();
  const std::string name(120000, 'n');  // a row larger than the limit lets the journal grow
  StrelCtl::Storage::StorageInfoImpl storage;
  const auto add = [&] { storage.AddNetworkFileSystem("192.0.2.1", "/s", name, false, "", 0); };
  {
    FileSizeLimit limit(128 * 1024);
    EXPECT_EQ(ErrorOf<StoreError>(add), path + ": the disk is full");
  }
  EXPECT_EQ(Nas(name), nullptr);
  HostCtl::Sim::Session::Get().Close();
  {
    FileSizeLimit limit(8 * 1024);  // no room for the shared-memory index (32 KiB)
    EXPECT_EQ(ErrorOf<StoreError>([] { HostCtl::Sim::SetFeature(7, true); }),
              path + ": the disk is full");
  }
  EXPECT_EQ(ErrorOf<StoreError>(add), "");
  EXPECT_NE(Nas(name), nullptr);
  EXPECT_EQ(CurrentHost()["features"].count("7"), 0u);
  HostCtl::Sim::Stmt check = HostCtl::Sim::Session::Get().db().Prepare("PRAGMA integrity_check");
  ASSERT_TRUE(check.Step());
  EXPECT_EQ(check.Text(0), "ok");
}

TEST_F(StoreTest, AStoreOfTheOldestSchemaIsMigratedWithItsData) {
  std::string path = dir_.Path("old.db");
  {
    auto raw = HostCtl::Sim::OpenRawStoreFile(path);
    HostCtl::Sim::Db& db = *raw;
    db.Exec("PRAGMA application_id = " + std::to_string(int32_t{0x54525658}));
    HostCtl::Sim::ApplyMigrations(db, 0, HostCtl::Sim::Migrations().front().version);
    db.Exec(
        "INSERT INTO devices(name, ats, attached) VALUES ('naa.1', 1, 1);"
        "INSERT INTO volumes(type, name, uuid, mount_point, mounted, persistent, discovered, "
        "busy, accessible, capacity, used, arrak, version, lvm_uuid, lock_mode, clustered_kadisk, "
        "unmap_granularity, unmap_priority, unmap_bandwidth, unmap_method, unmap_reserved, "
        "nfs_hosts, nfs_share, nfs_read_only, nfs_pe, nfs_hidden, nfs_strelnic, "
        "nfs_strelnic_param, nfs_queue_depth, nfs_boot_queue_depth, nfs_max_read, nfs_max_write, "
        "nfs_preunmount, nfs_security) VALUES ('Kovra', 'old', 'u-old', '/kovra/volumes/u-old', "
        "1, 1, 1, 0, 1, 100, 30, 0, 5, 'l', 16, 0, 1048576, 'low', 0, 'priority', 0, '', '', 0, "
        "0, 0, '', '', 4294967295, 4294967295, 1048576, 1048576, 0, 0);"
        "INSERT INTO extents(volume_id, pos, device_id, partition) VALUES (1, 0, 1, 7);");
  }
  HostCtl::Sim::SetStorePath(path);
  auto old = Volume("old");
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(old->GetLockMode(), 16u);
  EXPECT_EQ(old->GetExtents()[0]->GetPartitionNumber(), 7u);
  Json host = CurrentHost();
  EXPECT_EQ(VolumeIn(host, "old")["kovra"]["reclaimed"], 0);
  EXPECT_EQ(host["iorm"]["signals"], 0);
  EXPECT_EQ(host["psa"]["restores"], 0);
  for (const auto& counter : host["pbcache"]) EXPECT_EQ(counter, 0);
  HostCtl::Sim::RecordEvent("PreUnmount", "old");  // a table the oldest schema lacked
  HostCtl::Sim::Db& db = HostCtl::Sim::Session::Get().db();
  EXPECT_EQ(db.QueryInt("PRAGMA user_version"), HostCtl::Sim::CurrentSchemaVersion());

  // The migrated tables have a column for each field of the list, and no
  // other: the volume's row its shared fields, a host's view the others.
  std::map<std::string, std::set<std::string>> listed;
  using HostCtl::Sim::VolumeRecord;
  using HostCtl::Sim::VolumeScope;
#define TARVEX_COLUMN(column, scope, member, part, key, summary, read, fallback)          \
  listed[VolumeScope::scope == VolumeScope::kShared ? "volumes" : "volume_views"].insert( \
      std::string(#column) +                                                              \
      (std::is_same_v<decltype(std::declval<VolumeRecord&>().member), std::string> ||     \
               std::is_same_v<decltype(std::declval<VolumeRecord&>().member),             \
                              std::vector<std::string>>                                   \
           ? " TEXT"                                                                      \
           : " INTEGER"));
  TARVEX_VOLUME_FIELDS(TARVEX_COLUMN)
#undef TARVEX_COLUMN
  for (const auto& table : listed) {
    std::set<std::string> columns;
    HostCtl::Sim::Stmt info =
        db.Prepare("SELECT name, type, \"notnull\" FROM pragma_table_info('" + table.first +
                   "') WHERE name NOT IN ('id', 'host_id', 'volume_id')");
    while (info.Step()) {
      columns.insert(info.Text(0) + " " + info.Text(1) + (info.Int(2) ? "" : " NULL"));
    }
    EXPECT_EQ(columns, table.second) << table.first;
  }
}

TEST_F(StoreTest, AScopedCacheAnswersFromWhatItReadUntilItEnds) {
  std::string path = dir_.Path("cache.db");
  HostCtl::Sim::SetStorePath(path);
  StrelCtl::Storage::StorageInfoImpl storage;
  {
    HostCtl::Storage::StorageInfoScopedCache scope(false);
    // Each query keeps its own answer: another name is another query.
    ASSERT_NE(Volume("datastore1"), nullptr);
    Sql(path, "UPDATE volumes SET name = 'moved' WHERE name = 'datastore1'");
    EXPECT_NE(Volume("datastore1"), nullptr);
    EXPECT_EQ(Volume("datastore2")->GetVolumeName(), "datastore2");
    EXPECT_EQ(storage.GetUnresolvedVolumes()[0]->GetVolumeName(), "prod-db");
    Sql(path, "UPDATE snapshots SET label = 'renamed' WHERE label = 'prod-db'");
    EXPECT_EQ(storage.GetUnresolvedVolumes()[0]->GetVolumeName(), "prod-db");
    {
      HostCtl::Storage::StorageInfoScopedCache fresh(true);
      EXPECT_EQ(storage.GetUnresolvedVolumes()[0]->GetVolumeName(), "renamed");
    }
    // The outer scope keeps what the inner one read.
    Sql(path, "UPDATE snapshots SET label = 'again' WHERE label = 'renamed'");
    EXPECT_EQ(storage.GetUnresolvedVolumes()[0]->GetVolumeName(), "renamed");
    // A write of this process drops what the scope read.
    storage.GetUnresolvedVolumes()[0]->Mount(false, false);
    EXPECT_EQ(storage.GetUnresolvedVolumes()[0]->GetVolumeName(), "datastore1");
  }
}

// A command's reads share one state of the store up to its first write,
// which starts from the store as it is then: a name another process took
// meanwhile stays taken, and the reads after the write see the change.
TEST_F(StoreTest, SharedReadsSeeOneStateUntilTheFirstWrite) {
  std::string path = dir_.Path("shared.db");
  HostCtl::Sim::SetStorePath(path);
  StrelCtl::Storage::StorageInfoImpl storage;
  {
    HostCtl::Sim::SharedReads reads;
    ASSERT_NE(Nas("nfs-iso"), nullptr);
    Sql(path, "UPDATE volumes SET name = 'taken' WHERE name = 'nfs-iso'");
    EXPECT_NE(Nas("nfs-iso"), nullptr);
    EXPECT_EQ(Nas("taken"), nullptr);
    const std::string refused =
        HostError([&] { storage.AddNetworkFileSystem("192.0.2.1", "/s", "taken", false, "", 0); });
    EXPECT_NE(refused.find("the name is already used by another volume"), std::string::npos)
        << refused;
    EXPECT_EQ(Nas("nfs-iso"), nullptr);
    EXPECT_NE(Nas("taken"), nullptr);
  }
  Sql(path, "UPDATE volumes SET name = 'again' WHERE name = 'taken'");
  EXPECT_NE(Nas("again"), nullptr);
  // Reads that end without a write end their transaction too.
  {
    HostCtl::Sim::SharedReads reads;
    EXPECT_NE(Nas("again"), nullptr);
  }
  Sql(path, "UPDATE volumes SET name = 'last' WHERE name = 'again'");
  EXPECT_NE(Nas("last"), nullptr);
}

}  // namespace
}  // namespace HostTest
