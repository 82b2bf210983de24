// One host for the tests of the extent and snapshot commands, in the fixture
// format (docs/fixtures.md). Kovra volumes: ds1 (two extents, the second with
// partition number 257) and ds2 (one extent). Unresolved snapshots, in host
// order:
//   snap-a  two extents; can be mounted and resignatured
//   snap-b  three slots, the second empty: both refused, extents missing
//   snap-f  of a foreign implementation class: every command skips it
//   rep     two replicas sharing label and UUID; the host refuses the first
//           a resignature with code 6, the second a mount with code 9
#ifndef TESTS_COMMANDS_KOVRA_SNAPSHOT_HOST_H_
#define TESTS_COMMANDS_KOVRA_SNAPSHOT_HOST_H_

#include <initializer_list>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {

inline constexpr char kDs1Uuid[] = "5a000000-00000001-0000-027a3eaa0001";
inline constexpr char kDs2Uuid[] = "5a000000-00000002-0000-027a3eaa0002";
inline constexpr char kSnapAUuid[] = "5b000000-0000000a-0000-027a3ebb000a";
inline constexpr char kSnapBUuid[] = "5b000000-0000000b-0000-027a3ebb000b";
inline constexpr char kRepUuid[] = "5b000000-00000003-0000-027a3ebb0003";
inline constexpr int64_t kFar = 4398046511104;  // past 32 bits

class KovraSnapshotHostTest : public CommandTest {
 protected:
  using Json = nlohmann::json;

  void SetUp() override {
    CommandTest::SetUp();
    UseSnapshotHost();
  }

  void UseSnapshotHost() {
    Json host = Host();
    host["devices"] = Json::array();
    for (const char* device : {"naa.d1a", "naa.d1b", "naa.d2", "naa.sa0", "naa.sa1", "naa.sb0",
                               "naa.sb2", "naa.sf", "naa.r1", "naa.r2"}) {
      host["devices"].push_back({{"name", device}, {"ats", true}, {"attached", true}});
    }
    host["volumes"] = {
        KovraEntry("ds1", kDs1Uuid, "lvm-1", {{"naa.d1a", 1, 0, 0}, {"naa.d1b", 257, 0, 0}}),
        KovraEntry("ds2", kDs2Uuid, "lvm-2", {{"naa.d2", 2, 0, 0}})};
    host["snapshots"] = {
        SnapshotEntry("snap-a", kSnapAUuid, "lvm-a",
                      {{"naa.sa0", 1, 0, 1023}, {"naa.sa1", 260, 1024, kFar}}),
        SnapshotEntry("snap-b", kSnapBUuid, "lvm-b",
                      {{"naa.sb0", 1, 0, 99}, {nullptr, 0, 0, 0}, {"naa.sb2", 3, 200, 299}}),
        SnapshotEntry("snap-f", "5b000000-0000000f-0000-027a3ebb000f", "lvm-f",
                      {{"naa.sf", 1, 0, 9}}),
        SnapshotEntry("rep", kRepUuid, "lvm-r1", {{"naa.r1", 1, 0, 9}}),
        SnapshotEntry("rep", kRepUuid, "lvm-r2", {{"naa.r2", 1, 0, 9}})};
    host["snapshots"][2]["foreign"] = true;
    host["snapshots"][3]["resignature_reason"] = 6;
    host["snapshots"][4]["mount_reason"] = 9;
    host["faults"] = Json::array();
    host["events"] = Json::array();
    UseHost(host);
  }

  // Whether the host still lists the snapshot with that LVM UUID.
  bool Unresolved(const std::string& lvm_uuid) const {
    const Json host = Host();  // the loop must not outlive it
    for (const auto& snapshot : host["snapshots"]) {
      if (snapshot["lvm_uuid"] == lvm_uuid) return true;
    }
    return false;
  }

  // The volumes made from snapshots: all but ds1 and ds2.
  std::vector<Json> MadeVolumes() const {
    std::vector<Json> made;
    const Json host = Host();
    for (const auto& volume : host["volumes"]) {
      if (volume["name"] != "ds1" && volume["name"] != "ds2") made.push_back(volume);
    }
    return made;
  }

  // Each row's `fields` joined by "/", e.g. "ds1/0".
  static std::vector<std::string> Project(const std::vector<Row>& rows,
                                          std::initializer_list<const char*> fields) {
    std::vector<std::string> projected;
    for (const Row& row : rows) {
      std::string text;
      for (const char* field : fields) text += (text.empty() ? "" : "/") + row.at(field);
      projected.push_back(text);
    }
    return projected;
  }

 private:
  struct ExtentDef {
    const char* device;  // null: an empty slot
    int partition;
    int64_t start, end;
  };

  static Json Extents(std::initializer_list<ExtentDef> extents, bool ranges) {
    Json list = Json::array();
    for (const ExtentDef& e : extents) {
      if (!e.device) {
        list.push_back(nullptr);
        continue;
      }
      list.push_back({{"device", e.device}, {"partition", e.partition}});
      if (ranges) list.back().update({{"start", e.start}, {"end", e.end}});
    }
    return list;
  }

  static Json KovraEntry(const char* name, const char* uuid, const char* lvm_uuid,
                         std::initializer_list<ExtentDef> extents) {
    return {
        {"type", "Kovra"},
        {"name", name},
        {"uuid", uuid},
        {"capacity", 107374182400},
        {"used", 1073741824},
        {"kovra", {{"version", 5}, {"lvm_uuid", lvm_uuid}, {"extents", Extents(extents, false)}}}};
  }

  static Json SnapshotEntry(const char* label, const char* uuid, const char* lvm_uuid,
                            std::initializer_list<ExtentDef> extents) {
    return {{"label", label},
            {"uuid", uuid},
            {"lvm_uuid", lvm_uuid},
            {"extents", Extents(extents, true)}};
  }
};

}  // namespace Testing
}  // namespace TarvexCli

#endif  // TESTS_COMMANDS_KOVRA_SNAPSHOT_HOST_H_
