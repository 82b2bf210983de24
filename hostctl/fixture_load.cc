#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "hostctl/faults.h"
#include "hostctl/fixture.h"
#include "hostctl/json_reader.h"
#include "hostctl/sim.h"
#include "hostctl/text_util.h"

namespace HostCtl {
namespace Sim {
namespace {

constexpr int64_t kInt32Max = 2147483647;
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

// What has been read so far that later values refer to or must not repeat.
struct Context {
  std::set<std::string> devices;
  std::map<std::string, std::string> volume_names;  // name -> JSON path
  std::map<std::string, std::string> volume_uuids;  // uuid -> JSON path
};

std::string NonEmpty(const JsonReader& r) {
  std::string text = r.String();
  if (text.empty()) r.Fail("must not be empty");
  return text;
}

std::string Device(const JsonReader& r, const Context& ctx) {
  std::string name = r.String();
  if (!ctx.devices.count(name)) r.Fail("no device \"" + name + "\" in /devices");
  return name;
}

std::optional<uint32_t> Reason(const JsonReader& r, const char* key) {
  if (!r.Has(key) || r[key].IsNull()) return std::nullopt;
  return r[key].UInt32();
}

SnapshotRecord ReadSnapshot(const JsonReader& r, const Context& ctx) {
  r.ExpectObject({"label", "uuid", "lvm_uuid", "version", "capacity", "used", "extents",
                  "mount_reason", "resignature_reason", "foreign"});
  SnapshotRecord s;
  s.label = NonEmpty(r["label"]);
  s.uuid = NonEmpty(r["uuid"]);
  s.lvm_uuid = r.String("lvm_uuid", "");
  s.version = r.UInt32("version", 6);
  s.capacity = r.Int("capacity", 0, 0, kInt64Max);
  s.used = r.Int("used", 0, 0, kInt64Max);
  if (r.Has("extents")) {
    JsonReader list = r["extents"];
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader e = list.At(i);
      if (e.IsNull()) {
        s.extents.push_back(nullptr);
        continue;
      }
      e.ExpectObject({"device", "partition", "start", "end"});
      auto extent = std::make_shared<SnapshotExtentRecord>();
      extent->device = Device(e["device"], ctx);
      extent->partition = e["partition"].UInt32();
      extent->start = e.Int("start", 0, 0, kInt64Max);
      extent->end = e.Int("end", 0, 0, kInt64Max);
      s.extents.push_back(std::move(extent));
    }
  }
  s.mount_reason = Reason(r, "mount_reason");
  s.resignature_reason = Reason(r, "resignature_reason");
  s.foreign = r.Bool("foreign", false);
  return s;
}

void ReadKovra(const JsonReader& r, const Context& ctx, VolumeModel& m) {
  r.ExpectObject({"version", "lvm_uuid", "lock_mode", "clustered_kadisk", "extents", "unmap",
                  "reclaimed", "heartbeats", "from_snapshot"});
  VolumeRecord& v = m.volume;
  v.version = r["version"].UInt32();
  v.lvm_uuid = r.String("lvm_uuid", "");
  v.lock_mode = r.UInt32("lock_mode", 0);
  v.clustered_kadisk = r.Bool("clustered_kadisk", false);
  if (r.Has("extents")) {
    JsonReader list = r["extents"];
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader e = list.At(i);
      e.ExpectObject({"device", "partition"});
      m.extents.push_back({Device(e["device"], ctx), e["partition"].UInt32()});
    }
  }
  if (r.Has("unmap")) {
    JsonReader u = r["unmap"];
    u.ExpectObject({"granularity", "priority", "method", "bandwidth", "reserved"});
    v.unmap.granularity = u.UInt32("granularity", v.unmap.granularity);
    v.unmap.priority = u.String("priority", v.unmap.priority);
    v.unmap.method = u.String("method", v.unmap.method);
    v.unmap.bandwidth = static_cast<int32_t>(u.Int("bandwidth", 0, -kInt32Max - 1, kInt32Max));
    v.unmap.reserved = u.UInt32("reserved", 0);
  }
  v.reclaimed = r.Int("reclaimed", 0, 0, kInt64Max);
  if (r.Has("heartbeats")) {
    JsonReader list = r["heartbeats"];
    for (size_t i = 0; i < list.Size(); ++i) {
      JsonReader h = list.At(i);
      h.ExpectObject({"uuid", "mac", "driver_major", "driver_minor", "offset", "lock_mode",
                      "alive"});
      HeartbeatRecord hb;
      hb.uuid = h["uuid"].String();
      hb.mac = h["mac"].String();
      hb.driver_major = h.UInt32("driver_major", 0);
      hb.driver_minor = h.UInt32("driver_minor", 0);
      hb.offset = h.Int("offset", 0, 0, kInt64Max);
      hb.lock_mode = static_cast<uint8_t>(h.Int("lock_mode", 0, 0, 255));
      hb.alive = h.Bool("alive", true);
      m.heartbeats.push_back(hb);
    }
  }
  if (r.Has("from_snapshot") && !r["from_snapshot"].IsNull()) {
    if (v.persistent) {
      r["from_snapshot"].Fail("only a volume that is not persistent goes back to a snapshot");
    }
    m.from_snapshot = ReadSnapshot(r["from_snapshot"], ctx);
  }
}

void ReadNfs(const JsonReader& r, VolumeModel& m) {
  r.ExpectObject({"hosts", "share", "read_only", "pe", "hidden", "strelnic", "strelnic_param",
                  "queue_depth", "boot_queue_depth", "max_read", "max_write", "preunmount",
                  "security"});
  VolumeRecord& v = m.volume;
  JsonReader hosts = r["hosts"];
  for (size_t i = 0; i < hosts.Size(); ++i) {
    std::string host = NonEmpty(hosts.At(i));
    if (host.find(',') != std::string::npos) hosts.At(i).Fail("an address has no comma");
    v.hosts.push_back(host);
  }
  bool v3 = v.type == "NFS";
  if (v3 && v.hosts.size() != 1) hosts.Fail("an NFS v3 volume has exactly one server");
  if (v.hosts.empty()) hosts.Fail("an NFS v4.1 volume has at least one server");
  v.share = NonEmpty(r["share"]);
  v.read_only = r.Bool("read_only", false);
  v.pe = r.Bool("pe", false);
  v.hidden = r.Bool("hidden", false);
  v.strelnic = r.String("strelnic", "");
  v.strelnic_param = r.String("strelnic_param", v.strelnic);
  v.queue_depth = r.UInt32("queue_depth", kDefaultQueueDepth);
  v.boot_queue_depth = r.UInt32("boot_queue_depth", v.queue_depth);
  v.max_read = r.UInt32("max_read", kDefaultTransferSize);
  v.max_write = r.UInt32("max_write", kDefaultTransferSize);
  v.preunmount = r.Bool("preunmount", false);
  v.security = static_cast<uint32_t>(r.Int("security", v3 ? 0 : 1, 0, kInt32Max));
}

VolumeModel ReadVolume(const JsonReader& r, Context& ctx) {
  r.ExpectObject({"type", "name", "uuid", "mount_point", "mounted", "persistent", "discovered",
                  "busy", "accessible", "capacity", "used", "arrak", "kovra", "nfs"});
  VolumeModel m;
  VolumeRecord& v = m.volume;
  v.type = NonEmpty(r["type"]);
  v.name = NonEmpty(r["name"]);
  auto name = ctx.volume_names.emplace(v.name, r["name"].path());
  if (!name.second) {
    r["name"].Fail("duplicate volume name \"" + v.name + "\" (also " + name.first->second + ")");
  }
  v.uuid = NonEmpty(r["uuid"]);
  auto uuid = ctx.volume_uuids.emplace(v.uuid, r["uuid"].path());
  if (!uuid.second) {
    r["uuid"].Fail("duplicate volume UUID \"" + v.uuid + "\" (also " + uuid.first->second + ")");
  }
  v.mount_point = r.String("mount_point", "/kovra/volumes/" + v.uuid);
  v.mounted = r.Bool("mounted", true);
  v.persistent = r.Bool("persistent", v.mounted);
  v.discovered = r.Bool("discovered", true);
  if (!v.discovered && !v.IsKovra()) r["discovered"].Fail("only a Kovra volume can be undiscovered");
  if (!v.discovered && v.mounted) r["discovered"].Fail("a volume not discovered is not mounted");
  v.busy = r.Bool("busy", false);
  v.accessible = r.Bool("accessible", true);
  v.capacity = r.Int("capacity", 0, 0, kInt64Max);
  v.used = r.Int("used", 0, 0, kInt64Max);
  v.arrak = static_cast<int>(r.Int("arrak", 0, 0, kInt32Max));
  if (v.IsKovra()) {
    ReadKovra(r["kovra"], ctx, m);
  } else if (r.Has("kovra")) {
    r["kovra"].Fail("only a Kovra volume has \"kovra\"");
  }
  if (v.IsNas()) {
    ReadNfs(r["nfs"], m);
  } else if (r.Has("nfs")) {
    r["nfs"].Fail("only an NFS or NFS41 volume has \"nfs\"");
  }
  return m;
}

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

void ReadHostParts(const JsonReader& root, HostModel& m, Context& ctx) {
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
      if (!seen.insert(s.address).second) r["address"].Fail("duplicate server \"" + s.address + "\"");
      s.reachable = r.Bool("reachable", true);
      if (r.Has("read_only_exports")) {
        JsonReader exports = r["read_only_exports"];
        for (size_t k = 0; k < exports.Size(); ++k) s.read_only_exports.push_back(exports.At(k).String());
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
    throw FixtureError(file + ": " + (at == std::string::npos ? what : what.substr(at + marker.size())));
  }
}

}  // namespace

HostModel LoadFixture(const std::string& text, const std::string& file) {
  nlohmann::json document = Parse(text, file);
  JsonReader root(document, file);
  root.ExpectObject({"format", "host", "features", "advanced_options", "devices", "strelnics",
                     "nfs_servers", "volumes", "snapshots", "heaps", "pbcache", "psa", "iorm",
                     "faults", "events"});
  if (root["format"].Int() != 1) root["format"].Fail("unsupported format (this program reads 1)");
  HostModel m;
  Context ctx;
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

}  // namespace Sim
}  // namespace HostCtl
