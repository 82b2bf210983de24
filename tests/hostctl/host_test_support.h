// Helpers of the simulated host's tests: fixtures made from the default
// host, temporary directories, files, and unusable stores.
#ifndef TESTS_HOSTCTL_HOST_TEST_SUPPORT_H_
#define TESTS_HOSTCTL_HOST_TEST_SUPPORT_H_

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "hostctl/hostctl.h"
#include "strelctl/storage.h"

namespace HostTest {

using Json = nlohmann::json;

// The built-in default host as JSON, to change before use.
Json DefaultHost();
// The volume named `name` in a fixture.
Json& VolumeIn(Json& host, const std::string& name);

// Makes the process use a fresh in-memory host built from `host`.
void UseHost(const Json& host);
// The current host, dumped and parsed.
Json CurrentHost();
// A volume of the current host by name, of any type (null when none).
std::unique_ptr<HostCtl::Storage::KovraFileSystem> Volume(const std::string& name);
std::unique_ptr<HostCtl::Storage::NetworkFileSystem> Nas(const std::string& name);
// The volume names of a list of volumes, in its order.
template <typename List>
std::vector<std::string> Names(const List& list) {
  std::vector<std::string> names;
  for (const auto& v : list) names.push_back(v->GetVolumeName());
  return names;
}

// The message of the `Error` that `body` throws ("" if none).
template <typename Error, typename Body>
std::string ErrorOf(Body&& body) {
  try {
    body();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}
template <typename Body>
std::string HostError(Body&& body) {
  return ErrorOf<HostCtl::Lib::HostCtlException>(body);
}

// A test on a fresh in-memory copy of the default host.
class DefaultHostTest : public ::testing::Test {
 protected:
  void SetUp() override { UseHost(DefaultHost()); }
  StrelCtl::Storage::StorageInfoImpl storage_;
};

// A directory removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// Runs SQL on `path` with a connection of its own (as another process would).
void Sql(const std::string& path, const std::string& sql);

// A file in a TempDir that no program may use as a store, and why.
struct UnusableStore {
  std::string path;
  std::string reason;
};
// Makes one file of every kind a store is refused for.
std::vector<UnusableStore> MakeUnusableStores(const TempDir& dir);

}  // namespace HostTest

#endif  // TESTS_HOSTCTL_HOST_TEST_SUPPORT_H_
