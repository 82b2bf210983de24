#include "host_test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "hostctl/rules/sim.h"
#include "hostctl/store/schema.h"
#include "hostctl/store/sqlite_db.h"
#include "hostctl/store/store_file.h"

namespace HostTest {
namespace {

// No test may use the user's own store: whatever a test does not point
// elsewhere lands in a directory of its own.
class IsolatedStore : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<TempDir>();
    setenv("TARVEX_HOST_STORE", dir_->Path("host.db").c_str(), 1);
    setenv("XDG_STATE_HOME", dir_->path().c_str(), 1);
  }
  void TearDown() override {
    HostCtl::Sim::SetStorePath("");
    dir_.reset();
  }

 private:
  std::unique_ptr<TempDir> dir_;
};

const auto* const kIsolatedStore = ::testing::AddGlobalTestEnvironment(new IsolatedStore);

}  // namespace

Json DefaultHost() { return Json::parse(HostCtl::Sim::DefaultHostFixture()); }

Json& VolumeIn(Json& host, const std::string& name) {
  for (Json& volume : host["volumes"]) {
    if (volume["name"] == name) return volume;
  }
  throw std::runtime_error("no volume " + name + " in the fixture");
}

void UseHost(const Json& host) { HostCtl::Sim::UseInMemoryHost(host.dump()); }

Json CurrentHost() { return Json::parse(HostCtl::Sim::DumpHost()); }

std::unique_ptr<HostCtl::Storage::KovraFileSystem> Volume(const std::string& name) {
  return StrelCtl::Storage::StorageInfoImpl().GetFileSystemByLabel(name);
}

std::unique_ptr<HostCtl::Storage::NetworkFileSystem> Nas(const std::string& name) {
  StrelCtl::Storage::StorageInfoImpl storage;
  for (auto* list : {&StrelCtl::Storage::IsNotPE, &StrelCtl::Storage::IsPE}) {
    for (auto& nfs : storage.GetV3NetworkFileSystems(*list)) {
      if (nfs->GetVolumeName() == name) return std::move(nfs);
    }
    for (auto& nfs : storage.GetV41NetworkFileSystems(*list)) {
      if (nfs->GetVolumeName() == name) return std::move(nfs);
    }
  }
  return nullptr;
}

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/hostctl-test-XXXXXX";
  if (!mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::string command = "rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << path_;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void Sql(const std::string& path, const std::string& sql) {
  HostCtl::Sim::OpenRawStoreFile(path)->Exec(sql);
}

namespace {
std::string NewStore(const std::string& path) {
  HostCtl::Sim::SetStorePath(path);
  HostCtl::Sim::OpenStore();
  HostCtl::Sim::SetStorePath("");
  return path;
}
}  // namespace

std::vector<UnusableStore> MakeUnusableStores(const TempDir& dir) {
  std::vector<UnusableStore> stores;
  mkdir(dir.Path("dir.db").c_str(), 0755);
  stores.push_back({dir.Path("dir.db"), "is a directory, not a store"});
  WriteFile(dir.Path("empty.db"), "");
  stores.push_back({dir.Path("empty.db"), "is an empty file, not a tarvex host store"});
  // A directory that is not there: an explicit store is never made by a typo.
  stores.push_back({"/proc/tarvex/h.db", "the directory /proc/tarvex does not exist"});
  WriteFile(dir.Path("text.db"),
            "SQLite format 2? no, a shopping list: eggs, milk, more eggs, a very long list\n"
            "of things that goes on and on for more than a hundred bytes of text here.\n");
  stores.push_back({dir.Path("text.db"), "not a SQLite database"});
  Sql(dir.Path("foreign.db"), "CREATE TABLE t(x); PRAGMA application_id = 42;");
  stores.push_back(
      {dir.Path("foreign.db"), "not a tarvex host store (SQLite application id 0x0000002a)"});
  std::string bytes = ReadFile(dir.Path("foreign.db"));
  bytes.replace(68, 4, "TRVX");  // our application id on a damaged file
  bytes.replace(16, 2, "\xff\xff");
  WriteFile(dir.Path("garbage.db"), bytes);
  stores.push_back({dir.Path("garbage.db"), "not a SQLite database"});
  Sql(NewStore(dir.Path("newer.db")), "PRAGMA user_version = 99;");
  stores.push_back(
      {dir.Path("newer.db"), "the store has schema version 99, newer than this program's " +
                                 std::to_string(HostCtl::Sim::CurrentSchemaVersion())});
  chmod(NewStore(dir.Path("ro.db")).c_str(), 0444);
  stores.push_back({dir.Path("ro.db"), "the store is read-only (using it needs write access)"});
  return stores;
}

}  // namespace HostTest
