// The fixture format: canonical dumps that load back identically, a
// message naming the file and the JSON path for every fixture refused, and
// its documentation naming exactly the keys a volume has.
#include "hostctl/fixture/fixture.h"

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "host_test_support.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/volume_fields.h"

namespace HostTest {
namespace {

using HostCtl::Sim::DumpFixture;
using HostCtl::Sim::LoadFixture;

std::string LoadError(const std::string& text) {
  try {
    LoadFixture(text, "host.json");
  } catch (const HostCtl::Sim::FixtureError& e) {
    return e.what();
  }
  return "";
}

TEST(FixtureTest, EverythingAHostAccumulatesSurvivesTheStoreAndTheRoundTrip) {
  // The store keeps every value of a fixture in its own place: no two that a
  // mixed-up column could swap are equal.
  Json fixture = DefaultHost();
  fixture["psa"]["restores"] = 5;
  fixture["iorm"]["signals"] = 6;
  fixture["pbcache"]["capacity_miss_ratio"] = INT32_MIN;  // the least it may be
  fixture["faults"].push_back({{"operation", "Resignature"},
                               {"object", "none"},
                               {"message", "m"},
                               {"nth", 2},
                               {"times", 3},
                               {"calls", 4},
                               {"fired", 1}});
  const std::string canonical = DumpFixture(LoadFixture(fixture.dump(), "f"));
  HostCtl::Sim::UseInMemoryHost(canonical);
  EXPECT_EQ(HostCtl::Sim::DumpHost(), canonical);
  StrelCtl::Storage::StorageInfoImpl storage;
  storage.GetUnresolvedVolumes()[0]->Mount(false, false);
  storage.AddV41NetworkFileSystem({"203.0.113.9"}, "/e", "n41",
                                  HostCtl::Storage::NetworkFileSystem::SEC_KRB5);
  // Base64 with two bytes over, then with one.
  HostCtl::Sim::RecordEvent("PreUnmount", std::string("ds\n\0\xff", 5));
  HostCtl::Sim::RecordEvent("PreUnmount", "\xfe");
  HostCtl::Sim::RecordEvent("FailedUnmount", "caf\xc3\xa9");
  // The smallest code point of each length is text; a lead byte before ASCII is not.
  const std::string smallest = "\xc2\x80\xe0\xa0\x80\xf0\x90\x80\x80";
  HostCtl::Sim::RecordEvent("PreUnmount", smallest);
  HostCtl::Sim::RecordEvent("PreUnmount",
                            "\xc3"
                            "A");
  std::string dumped = HostCtl::Sim::DumpHost();
  Json host = Json::parse(dumped);
  EXPECT_EQ(host["events"][0]["input_base64"], "ZHMKAP8=");
  EXPECT_EQ(host["events"][1]["input_base64"], "/g==");
  EXPECT_EQ(host["events"][2]["input"], "caf\xc3\xa9");
  EXPECT_EQ(host["events"][3]["input"], smallest);
  EXPECT_EQ(host["events"][4]["input_base64"], "w0E=");
  HostCtl::Sim::UseInMemoryHost(dumped);
  EXPECT_EQ(HostCtl::Sim::DumpHost(), dumped);
}

// Every key a fixture may leave out, in each kind of entry, gets its default:
// the golden file is this fixture's canonical dump (`tarvex-host init
// --fixture` on it, then `tarvex-host dump`).
// (The one value given, a snapshot extent's end of 0, is the least an end
// may be.)
TEST(FixtureTest, DefaultsFillWhatAFixtureLeavesOut) {
  const std::string dumped = DumpFixture(LoadFixture(R"({
    "format": 1,
    "devices": [{"name": "naa.1"}],
    "nfs_servers": [{"address": "192.0.2.1"}],
    "volumes": [
      {"type": "Kovra", "name": "a", "uuid": "u-a", "kovra": {"version": 6, "unmap": {},
       "extents": [{"device": "naa.1", "partition": 1}],
       "heartbeats": [{"uuid": "h", "mac": "02:7a:3e:00:00:01"}]}},
      {"type": "NFS", "name": "c", "uuid": "u-c", "nfs": {"hosts": ["192.0.2.1"], "share": "/s"}},
      {"type": "NFS41", "name": "b", "uuid": "u-b", "mounted": false,
       "nfs": {"hosts": ["192.0.2.1"], "share": "/s"}}
    ],
    "snapshots": [{"label": "s", "uuid": "u-s",
                   "extents": [{"device": "naa.1", "partition": 2}]}],
    "heaps": [{"name": "h"}], "pbcache": {}, "psa": {}, "iorm": {},
    "faults": [{"operation": "Mount", "message": "m"}]})",
                                                     "f"));
  EXPECT_EQ(dumped, ReadFile(TARVEX_HOSTCTL_GOLDEN_DIR "/defaults.json"));
}

TEST(FixtureTest, RefusedFixturesNameTheFileAndThePath) {
  EXPECT_EQ(LoadError("{\n  \"format\": 1,\n  \"host\": }"),
            "host.json: line 3, column 11: syntax error while parsing value - unexpected '}'; "
            "expected '[', '{', or a literal");
  // Each case patches the default host (RFC 6902; "add" sets a key) into a
  // fixture to refuse.
  struct Case {
    Json patch;
    std::string message;
  } cases[] = {
      // A path escapes '/' and '~' in a key ("c/l~r"); a message stays one
      // line, whatever a key or value holds.
      {{{"op", "add"}, {"path", "/c~1l~0r"}, {"value", "blue"}}, "/c~1l~0r: unknown key"},
      {{{"op", "add"}, {"path", "/col\nour"}, {"value", "blue"}}, "/col\\x0Aour: unknown key"},
      {{{"op", "add"}, {"path", "/volumes/3/kovra/extents/0/partition"}, {"value", "1"}},
       "/volumes/3/kovra/extents/0/partition: expected an integer, got a string"},
      {{{"op", "add"}, {"path", "/volumes/3/kovra/extents/0/device"}, {"value", "naa.x"}},
       "/volumes/3/kovra/extents/0/device: no device \"naa.x\" in /devices"},
      {{{"op", "add"}, {"path", "/volumes/0/kovra/heartbeats/0/lock_mode"}, {"value", 256}},
       "/volumes/0/kovra/heartbeats/0/lock_mode: expected an integer from 0 to 255, got 256"},
      {{{"op", "add"}, {"path", "/volumes/0/kovra/heartbeats/0/lock_mode"}, {"value", -1}},
       "/volumes/0/kovra/heartbeats/0/lock_mode: expected an integer from 0 to 255, got -1"},
      {{{"op", "add"}, {"path", "/heaps/0/current"}, {"value", -1}},
       "/heaps/0/current: expected an integer from 0 to 18446744073709551615, got -1"},
      {{{"op", "add"}, {"path", "/volumes/4/name"}, {"value", "datastore1"}},
       "/volumes/4/name: duplicate volume name \"datastore1\" (also /volumes/0/name)"},
      {{{"op", "add"}, {"path", "/volumes/13/uuid"}, {"value", "a0b1c2d3-e4f5a6b7"}},
       "/volumes/13/uuid: duplicate volume UUID \"a0b1c2d3-e4f5a6b7\" (also /volumes/8/uuid)"},
      {{{"op", "add"}, {"path", "/snapshots/1/extents/0/device"}, {"value", "naa.y"}},
       "/snapshots/1/extents/0/device: no device \"naa.y\" in /devices"},
      {{{"op", "add"}, {"path", "/snapshots/1/extents/0/colour"}, {"value", 1}},
       "/snapshots/1/extents/0/colour: unknown key"},
      {{{"op", "add"}, {"path", "/volumes/8/nfs/queue_depth"}, {"value", 4294967296}},
       "/volumes/8/nfs/queue_depth: expected an integer from 0 to 4294967295, got 4294967296"},
      {{{"op", "add"}, {"path", "/volumes/8/nfs/hosts/-"}, {"value", "192.0.2.99"}},
       "/volumes/8/nfs/hosts: an NFS v3 volume has exactly one server"},
      {{{"op", "add"}, {"path", "/volumes/13/kovra"}, {"value", Json::object()}},
       "/volumes/13/kovra: only a Kovra volume has \"kovra\""},
      {{{"op", "remove"}, {"path", "/volumes/0/uuid"}}, "/volumes/0: missing key \"uuid\""},
      {{{"op", "add"},
        {"path", "/faults/-"},
        {"value", {{"operation", "GetCapacityy"}, {"message", "m"}}}},
       "/faults/0/operation: unknown operation \"GetCapacityy\""},
      {{{"op", "add"},
        {"path", "/events/-"},
        {"value", {{"time", "t"}, {"event", "e"}, {"input_base64", "ZHM="}, {"input", ""}}}},
       "/events/0: expected exactly one of \"input\" and \"input_base64\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(LoadError(DefaultHost().patch(Json::array({c.patch})).dump()),
              "host.json: " + c.message);
  }
  EXPECT_EQ(LoadError(R"({"format": 2})"),
            "host.json: /format: unsupported format (this program reads 1)");
  EXPECT_EQ(LoadError(R"([1])"), "host.json: /: expected an object, got an array");
  EXPECT_EQ(LoadError(R"({"format": 1, "features": {"x1": true}})"),
            "host.json: /features/x1: expected a feature number as the key");
}

// The tables of docs/fixtures.md's "Volumes" section against the list of a
// volume's fields: each table names its object's keys, no more, no fewer.
TEST(FixtureTest, TheDocumentedVolumeKeysAreTheListedOnes) {
  using HostCtl::Sim::VolumePart;
  std::map<std::string, std::set<std::string>> listed = {
      {"common", {"kovra", "nfs"}},
      {"kovra", {"extents", "unmap", "heartbeats", "from_snapshot"}},
      {"unmap", {}},
      {"nfs", {}}};
  const std::map<VolumePart, std::string> table = {{VolumePart::kVolume, "common"},
                                                   {VolumePart::kKovra, "kovra"},
                                                   {VolumePart::kReclaim, "kovra"},
                                                   {VolumePart::kUnmap, "unmap"},
                                                   {VolumePart::kNfs, "nfs"}};
  for (const auto& field : HostCtl::Sim::kVolumeFields)
    listed[table.at(field.part)].insert(field.key);

  std::map<std::string, std::set<std::string>> documented;
  std::istringstream doc(ReadFile(TARVEX_SOURCE_DIR "/docs/fixtures.md"));
  const std::regex key_cell("`([a-z_]+)`");
  const std::regex json_key("\"([a-z_]+)\":");
  std::string line, section, current;
  while (std::getline(doc, line)) {
    if (line.rfind("## ", 0) == 0) section = line;
    if (section != "## Volumes") continue;
    if (line == "Common keys:") current = "common";
    if (line == "`kovra`:") current = "kovra";
    if (line == "`nfs`:") current = "nfs";
    if (line.rfind("| `", 0) != 0) continue;
    const std::string keys = line.substr(0, line.find(" | "));
    for (std::sregex_iterator it(keys.begin(), keys.end(), key_cell), end; it != end; ++it) {
      documented[current].insert((*it)[1]);
    }
    if (current == "kovra" && keys == "| `unmap`") {
      for (std::sregex_iterator it(line.begin(), line.end(), json_key), end; it != end; ++it) {
        documented["unmap"].insert((*it)[1]);
      }
    }
  }
  EXPECT_EQ(documented, listed);
}

}  // namespace
}  // namespace HostTest
