// Loading a fixture: one step per kind of object, in the order of the
// format; volumes and snapshots in fixture_volumes.cc. Everything is checked
// before a HostModel is returned.
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "hostctl/faults.h"
#include "hostctl/fixture.h"
#include "hostctl/fixture_parts.h"
#include "hostctl/json_reader.h"
#include "hostctl/sim.h"
#include "hostctl/text_util.h"

namespace HostCtl {
namespace Sim {
namespace {

void ReadHost(const JsonReader& root, HostModel& m, FixtureContext&) {
  m.host = root.String("host", m.host);
}

void ReadFeatures(const JsonReader& root, HostModel& m, FixtureContext&) {
  if (!root.Has("features")) return;
  JsonReader features = root["features"];
  if (!features.value().is_object()) features.ExpectObject({});
  for (const auto& item : features.value().items()) {
    JsonReader value(item.value(), root.file(), "/features/" + item.key());
    const std::string& key = item.key();
    bool numeric =
        !key.empty() && key.size() <= 9 && key.find_first_not_of("0123456789") == std::string::npos;
    if (!numeric) value.Fail("expected a feature number as the key");
    m.features[static_cast<unsigned>(std::stoul(key))] = value.Bool();
  }
}

void ReadOptions(const JsonReader& root, HostModel& m, FixtureContext&) {
  std::set<std::pair<std::string, std::string>> seen;
  ForEachObjectIn(root, "advanced_options", {"group", "name", "type", "value"},
                  [&](const JsonReader& r) {
                    OptionRecord o;
                    o.group = NonEmpty(r["group"]);
                    o.name = NonEmpty(r["name"]);
                    if (!seen.emplace(o.group, o.name).second) {
                      r["name"].Fail("duplicate option " + o.group + "/" + o.name);
                    }
                    std::string type = r["type"].String();
                    if (type == "integer") {
                      o.int_value = r["value"].Int();
                    } else if (type == "string") {
                      o.is_string = true;
                      o.string_value = r["value"].String();
                    } else {
                      r["type"].Fail("expected \"integer\" or \"string\", got \"" + type + "\"");
                    }
                    m.options.push_back(o);
                  });
}

void ReadDevices(const JsonReader& root, HostModel& m, FixtureContext& ctx) {
  ForEachObjectIn(root, "devices", {"name", "ats", "attached"}, [&](const JsonReader& r) {
    DeviceRecord d{NonEmpty(r["name"]), r.Bool("ats", true), r.Bool("attached", true)};
    if (!ctx.devices.insert(d.name).second) r["name"].Fail("duplicate device \"" + d.name + "\"");
    m.devices.push_back(d);
  });
}

void ReadStrelnics(const JsonReader& root, HostModel& m, FixtureContext&) {
  std::set<std::string> seen;
  ForEachIn(root, "strelnics", [&](const JsonReader& r) {
    std::string name = NonEmpty(r);
    if (!seen.insert(name).second) r.Fail("duplicate strelnic \"" + name + "\"");
    m.strelnics.push_back(name);
  });
}

void ReadNfsServers(const JsonReader& root, HostModel& m, FixtureContext&) {
  std::set<std::string> seen;
  ForEachObjectIn(
      root, "nfs_servers", {"address", "reachable", "read_only_exports", "capacity", "used"},
      [&](const JsonReader& r) {
        NfsServerRecord s;
        s.address = NonEmpty(r["address"]);
        if (!seen.insert(s.address).second)
          r["address"].Fail("duplicate server \"" + s.address + "\"");
        s.reachable = r.Bool("reachable", true);
        ForEachIn(r, "read_only_exports",
                  [&](const JsonReader& e) { s.read_only_exports.push_back(e.String()); });
        s.capacity = r.Int("capacity", s.capacity, 0, kInt64Max);
        s.used = r.Int("used", 0, 0, kInt64Max);
        m.servers.push_back(s);
      });
}

void ReadVolumes(const JsonReader& root, HostModel& m, FixtureContext& ctx) {
  ForEachIn(root, "volumes", [&](const JsonReader& r) { m.volumes.push_back(ReadVolume(r, ctx)); });
}

void ReadSnapshots(const JsonReader& root, HostModel& m, FixtureContext& ctx) {
  ForEachIn(root, "snapshots",
            [&](const JsonReader& r) { m.snapshots.push_back(ReadSnapshot(r, ctx)); });
}

void ReadHeaps(const JsonReader& root, HostModel& m, FixtureContext&) {
  ForEachObjectIn(root, "heaps", {"name", "current", "max"}, [&](const JsonReader& r) {
    m.heaps.push_back({r["name"].String(), r.UInt64("current", 0), r.UInt64("max", 0)});
  });
}

void ReadPBCache(const JsonReader& root, HostModel& m, FixtureContext&) {
  IfObjectIn(root, "pbcache",
             {"cache_size", "cache_size_max", "working_set", "working_set_max", "heap_overhead",
              "capacity_miss_ratio"},
             [&](const JsonReader& r) {
               PBCacheRecord& pb = m.pbcache;
               pb.cache_size = r.UInt64("cache_size", 0);
               pb.cache_size_max = r.UInt64("cache_size_max", 0);
               pb.working_set = r.UInt64("working_set", 0);
               pb.working_set_max = r.UInt64("working_set_max", 0);
               pb.heap_overhead = r.UInt64("heap_overhead", 0);
               pb.capacity_miss_ratio =
                   static_cast<int32_t>(r.Int("capacity_miss_ratio", 0, -kInt32Max - 1, kInt32Max));
             });
}

void ReadPsa(const JsonReader& root, HostModel& m, FixtureContext&) {
  IfObjectIn(root, "psa", {"restores"},
             [&](const JsonReader& r) { m.psa_restores = r.Int("restores", 0, 0, kInt64Max); });
}

void ReadIorm(const JsonReader& root, HostModel& m, FixtureContext&) {
  IfObjectIn(root, "iorm", {"signals"},
             [&](const JsonReader& r) { m.iorm_signals = r.Int("signals", 0, 0, kInt64Max); });
}

void ReadFaults(const JsonReader& root, HostModel& m, FixtureContext&) {
  ForEachObjectIn(root, "faults",
                  {"operation", "object", "message", "nth", "times", "calls", "fired"},
                  [&](const JsonReader& r) {
                    FaultRecord f;
                    f.operation = r["operation"].String();
                    if (!IsOperationName(f.operation)) {
                      r["operation"].Fail("unknown operation \"" + f.operation + "\"");
                    }
                    f.object = r.String("object", "");
                    f.message = r["message"].String();
                    f.nth = r.Int("nth", 0, 0, kInt64Max);
                    f.times = r.Int("times", 0, 0, kInt64Max);
                    f.calls = r.Int("calls", 0, 0, kInt64Max);
                    f.fired = r.Int("fired", 0, 0, kInt64Max);
                    m.faults.push_back(f);
                  });
}

void ReadEvents(const JsonReader& root, HostModel& m, FixtureContext&) {
  ForEachObjectIn(root, "events", {"time", "event", "input", "input_base64"},
                  [&](const JsonReader& r) {
                    EventRecord e{r["time"].String(), r["event"].String(), ""};
                    if (r.Has("input") == r.Has("input_base64")) {
                      r.Fail("expected exactly one of \"input\" and \"input_base64\"");
                    }
                    if (r.Has("input")) {
                      e.input = r["input"].String();
                    } else {
                      std::optional<std::string> bytes = Base64Decode(r["input_base64"].String());
                      if (!bytes) r["input_base64"].Fail("not canonical base64");
                      e.input = *bytes;
                    }
                    m.events.push_back(e);
                  });
}

// One step per kind of object, in this order: the first error found is the
// one reported, and devices are read before the volumes and snapshots that
// name them.
using Step = void (*)(const JsonReader& root, HostModel& m, FixtureContext& ctx);
const Step kSteps[] = {
    ReadHost,       ReadFeatures, ReadOptions,   ReadDevices, ReadStrelnics,
    ReadNfsServers, ReadVolumes,  ReadSnapshots, ReadHeaps,   ReadPBCache,
    ReadPsa,        ReadIorm,     ReadFaults,    ReadEvents,
};

nlohmann::json Parse(const std::string& text, const std::string& file) {
  try {
    return nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    std::string what = e.what();
    const std::string marker = "parse error at ";
    size_t at = what.find(marker);
    throw FixtureError(file + ": " +
                       (at == std::string::npos ? what : what.substr(at + marker.size())));
  }
}

HostModel ReadFixture(const std::string& text, const std::string& file) {
  nlohmann::json document = Parse(text, file);
  JsonReader root(document, file);
  root.ExpectObject({"format", "host", "features", "advanced_options", "devices", "strelnics",
                     "nfs_servers", "volumes", "snapshots", "heaps", "pbcache", "psa", "iorm",
                     "faults", "events"});
  if (root["format"].Int() != 1) root["format"].Fail("unsupported format (this program reads 1)");
  HostModel m;
  FixtureContext ctx;
  for (Step step : kSteps) step(root, m, ctx);
  return m;
}

}  // namespace

HostModel LoadFixture(const std::string& text, const std::string& file) {
  try {
    return ReadFixture(text, file);
  } catch (const nlohmann::json::exception& e) {
    // What the checks above do not foresee (a number beyond a double's range,
    // a value of an unexpected kind) is still a fixture error, never an abort.
    std::string what = e.what();
    const size_t tag_end = what.find("] ");
    if (what.rfind("[json.exception.", 0) == 0 && tag_end != std::string::npos) {
      what.erase(0, tag_end + 2);
    }
    for (char& c : what) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    throw FixtureError(file + ": " + what);
  }
}

}  // namespace Sim
}  // namespace HostCtl
