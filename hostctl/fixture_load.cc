// Loading a fixture: the host-wide parts here, volumes and snapshots in
// fixture_volumes.cc. Everything is checked before a HostModel is returned.
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

void ReadOptions(const JsonReader& list, HostModel& m) {
  std::set<std::pair<std::string, std::string>> seen;
  for (size_t i = 0; i < list.Size(); ++i) {
    JsonReader r = list.At(i);
    r.ExpectObject({"group", "name", "type", "value"});
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
  }
}

void ReadHostParts(const JsonReader& root, HostModel& m, FixtureContext& ctx) {
  if (root.Has("advanced_options")) ReadOptions(root["advanced_options"], m);
  if (root.Has("devices")) {
    JsonReader list = root["devices"];
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader r = list.At(i);
      r.ExpectObject({"name", "ats", "attached"});
      DeviceRecord d{NonEmpty(r["name"]), r.Bool("ats", true), r.Bool("attached", true)};
      if (!ctx.devices.insert(d.name).second) r["name"].Fail("duplicate device \"" + d.name + "\"");
      m.devices.push_back(d);
    }
  }
  if (root.Has("strelnics")) {
    JsonReader list = root["strelnics"];
    std::set<std::string> seen;
    for (size_t i = 0; i < list.Size(); ++i) {
      std::string name = NonEmpty(list.At(i));
      if (!seen.insert(name).second) list.At(i).Fail("duplicate strelnic \"" + name + "\"");
      m.strelnics.push_back(name);
    }
  }
  if (root.Has("nfs_servers")) {
    JsonReader list = root["nfs_servers"];
    std::set<std::string> seen;
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader r = list.At(i);
      r.ExpectObject({"address", "reachable", "read_only_exports", "capacity", "used"});
      NfsServerRecord s;
      s.address = NonEmpty(r["address"]);
      if (!seen.insert(s.address).second)
        r["address"].Fail("duplicate server \"" + s.address + "\"");
      s.reachable = r.Bool("reachable", true);
      if (r.Has("read_only_exports")) {
        JsonReader exports = r["read_only_exports"];
        for (size_t k = 0; k < exports.Size(); ++k)
          s.read_only_exports.push_back(exports.At(k).String());
      }
      s.capacity = r.Int("capacity", s.capacity, 0, kInt64Max);
      s.used = r.Int("used", 0, 0, kInt64Max);
      m.servers.push_back(s);
    }
  }
}

void ReadCounters(const JsonReader& root, HostModel& m) {
  if (root.Has("heaps")) {
    JsonReader list = root["heaps"];
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader r = list.At(i);
      r.ExpectObject({"name", "current", "max"});
      m.heaps.push_back({r["name"].String(), r.UInt64("current", 0), r.UInt64("max", 0)});
    }
  }
  if (root.Has("pbcache")) {
    JsonReader r = root["pbcache"];
    r.ExpectObject({"cache_size", "cache_size_max", "working_set", "working_set_max",
                    "heap_overhead", "capacity_miss_ratio"});
    PBCacheRecord& pb = m.pbcache;
    pb.cache_size = r.UInt64("cache_size", 0);
    pb.cache_size_max = r.UInt64("cache_size_max", 0);
    pb.working_set = r.UInt64("working_set", 0);
    pb.working_set_max = r.UInt64("working_set_max", 0);
    pb.heap_overhead = r.UInt64("heap_overhead", 0);
    pb.capacity_miss_ratio =
        static_cast<int32_t>(r.Int("capacity_miss_ratio", 0, -kInt32Max - 1, kInt32Max));
  }
  if (root.Has("psa")) {
    JsonReader r = root["psa"];
    r.ExpectObject({"restores"});
    m.psa_restores = r.Int("restores", 0, 0, kInt64Max);
  }
  if (root.Has("iorm")) {
    JsonReader r = root["iorm"];
    r.ExpectObject({"signals"});
    m.iorm_signals = r.Int("signals", 0, 0, kInt64Max);
  }
}

void ReadFaultsAndEvents(const JsonReader& root, HostModel& m) {
  if (root.Has("faults")) {
    JsonReader list = root["faults"];
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader r = list.At(i);
      r.ExpectObject({"operation", "object", "message", "nth", "times", "calls", "fired"});
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
    }
  }
  if (root.Has("events")) {
    JsonReader list = root["events"];
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader r = list.At(i);
      r.ExpectObject({"time", "event", "input", "input_base64"});
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
    }
  }
}

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
  m.host = root.String("host", m.host);
  if (root.Has("features")) {
    JsonReader features = root["features"];
    if (!features.value().is_object()) features.ExpectObject({});
    for (const auto& item : features.value().items()) {
      JsonReader value(item.value(), file, "/features/" + item.key());
      const std::string& key = item.key();
      bool numeric = !key.empty() && key.size() <= 9 &&
                     key.find_first_not_of("0123456789") == std::string::npos;
      if (!numeric) value.Fail("expected a feature number as the key");
      m.features[static_cast<unsigned>(std::stoul(key))] = value.Bool();
    }
  }
  ReadHostParts(root, m, ctx);
  if (root.Has("volumes")) {
    JsonReader list = root["volumes"];
    for (size_t i = 0; i < list.Size(); ++i) m.volumes.push_back(ReadVolume(list.At(i), ctx));
  }
  if (root.Has("snapshots")) {
    JsonReader list = root["snapshots"];
    for (size_t i = 0; i < list.Size(); ++i) m.snapshots.push_back(ReadSnapshot(list.At(i), ctx));
  }
  ReadCounters(root, m);
  ReadFaultsAndEvents(root, m);
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
