// Small simulated hosts for the NAS command tests (NFS v3 and v4.1): NAS
// volumes on two reachable servers, and two interfaces to bind to.
#ifndef TESTS_COMMANDS_NFS_NAS_TEST_HOST_H_
#define TESTS_COMMANDS_NFS_NAS_TEST_HOST_H_

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {

using Json = nlohmann::json;
using Texts = std::vector<std::string>;

constexpr const char* kServer = "192.0.2.10";
constexpr const char* kServer2 = "192.0.2.11";
// A name with blanks, quotes, a `;` and a newline: stored and shown as it is.
constexpr const char* kOddName = "ds 'one'; \"two\"\nthree";

inline bool operator==(const Notification& a, const Notification& b) {
  return a.event == b.event && a.input == b.input;
}
inline void PrintTo(const Notification& n, std::ostream* os) {
  *os << n.event << "(" << ::testing::PrintToString(n.input) << ")";
}

// A mounted NAS volume of `type` ("NFS" or "NFS41") on kServer; `nfs`
// overrides keys of its "nfs" object, `arrak` is its hardware acceleration.
inline Json NasVolume(const std::string& type, const std::string& name,
                      const Json& nfs = Json::object(), int arrak = 0) {
  Json settings = {{"hosts", {kServer}}, {"share", "/exports/data"}};
  settings.update(nfs);
  return {{"type", type},
          {"name", name},
          {"uuid", "nas-" + std::to_string(std::hash<std::string>()(name))},
          {"arrak", arrak},
          {"nfs", settings}};
}

inline Json NasHost(const std::vector<Json>& volumes, bool strelnic_binding = false,
                    bool preunmount = false) {
  return {
      {"format", 1},
      {"features", {{"145", strelnic_binding}, {"284", preunmount}}},
      {"strelnics", {"tvn0", "tvn1"}},
      {"nfs_servers",
       {{{"address", kServer}, {"read_only_exports", {"/exports/iso"}}}, {{"address", kServer2}}}},
      {"volumes", volumes}};
}

// After a setter failed in an add on the default host: the volume "new" was
// added last, is unmounted and has its nfs `flag` false; nothing else changed.
inline Path::ChangeCheck AddedUnmounted(const std::string& flag) {
  return [flag](const Json& before, const Json& after) {
    ASSERT_FALSE(after["volumes"].empty());
    const Json added = after["volumes"].back();
    EXPECT_EQ(added["name"], "new");
    EXPECT_EQ(added["mounted"], false);
    EXPECT_EQ(added["nfs"][flag], false);
    Json rest = after;
    rest["volumes"].erase(rest["volumes"].size() - 1);
    EXPECT_EQ(rest, before);
  };
}

// After a removal of `name` that succeeded: the volume is gone, nothing else changed.
inline Path::ChangeCheck Removed(const std::string& name) {
  return Edited([name](Json& host) {
    auto& volumes = host["volumes"];
    volumes.erase(std::find(volumes.begin(), volumes.end(), VolumeIn(host, name)));
  });
}

// The "Volume Name" of each row.
inline Texts Names(const std::vector<Row>& rows) {
  Texts names;
  for (const auto& row : rows) names.push_back(row.at("Volume Name"));
  return names;
}

}  // namespace Testing
}  // namespace TarvexCli

#endif  // TESTS_COMMANDS_NFS_NAS_TEST_HOST_H_
