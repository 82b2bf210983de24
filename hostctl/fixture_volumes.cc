// Loading the volumes and snapshots of a fixture, with the checks that
// span entries: unique names and UUIDs, devices that exist.
#include "hostctl/fixture_parts.h"

#include "hostctl/sim.h"
#include "hostctl/volume_rules.h"

namespace HostCtl {
namespace Sim {
namespace {

std::string Device(const JsonReader& r, const FixtureContext& ctx) {
  std::string name = r.String();
  if (!ctx.devices.count(name)) r.Fail("no device \"" + name + "\" in /devices");
  return name;
}

std::optional<uint32_t> Reason(const JsonReader& r, const char* key) {
  if (!r.Has(key) || r[key].IsNull()) return std::nullopt;
  return r[key].UInt32();
}

void ReadKovra(const JsonReader& r, const FixtureContext& ctx, VolumeModel& m) {
  r.ExpectObject({"version", "lvm_uuid", "lock_mode", "clustered_kadisk", "extents", "unmap",
                  "reclaimed", "heartbeats", "from_snapshot"});
  VolumeRecord& v = m.volume;
  v.version = r["version"].UInt32();
  v.lvm_uuid = r.String("lvm_uuid", "");
  v.lock_mode = r.UInt32("lock_mode", 0);
  v.clustered_kadisk = r.Bool("clustered_kadisk", false);
  ForEachObjectIn(r, "extents", {"device", "partition"}, [&](const JsonReader& e) {
    m.extents.push_back({Device(e["device"], ctx), e["partition"].UInt32()});
  });
  IfObjectIn(r, "unmap", {"granularity", "priority", "method", "bandwidth", "reserved"},
             [&](const JsonReader& u) {
               v.unmap.granularity = u.UInt32("granularity", v.unmap.granularity);
               v.unmap.priority = u.String("priority", v.unmap.priority);
               v.unmap.method = u.String("method", v.unmap.method);
               v.unmap.bandwidth =
                   static_cast<int32_t>(u.Int("bandwidth", 0, -kInt32Max - 1, kInt32Max));
               v.unmap.reserved = u.UInt32("reserved", 0);
             });
  v.reclaimed = r.Int("reclaimed", 0, 0, kInt64Max);
  ForEachObjectIn(r, "heartbeats",
                  {"uuid", "mac", "driver_major", "driver_minor", "offset", "lock_mode", "alive"},
                  [&](const JsonReader& h) {
                    HeartbeatRecord hb;
                    hb.uuid = h["uuid"].String();
                    hb.mac = h["mac"].String();
                    hb.driver_major = h.UInt32("driver_major", 0);
                    hb.driver_minor = h.UInt32("driver_minor", 0);
                    hb.offset = h.Int("offset", 0, 0, kInt64Max);
                    hb.lock_mode = static_cast<uint8_t>(h.Int("lock_mode", 0, 0, 255));
                    hb.alive = h.Bool("alive", true);
                    m.heartbeats.push_back(hb);
                  });
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

}  // namespace

std::string NonEmpty(const JsonReader& r) {
  std::string text = r.String();
  if (text.empty()) r.Fail("must not be empty");
  return text;
}

SnapshotRecord ReadSnapshot(const JsonReader& r, const FixtureContext& ctx) {
  r.ExpectObject({"label", "uuid", "lvm_uuid", "version", "capacity", "used", "extents",
                  "mount_reason", "resignature_reason", "foreign"});
  SnapshotRecord s;
  s.label = NonEmpty(r["label"]);
  s.uuid = NonEmpty(r["uuid"]);
  s.lvm_uuid = r.String("lvm_uuid", "");
  s.version = r.UInt32("version", 6);
  s.capacity = r.Int("capacity", 0, 0, kInt64Max);
  s.used = r.Int("used", 0, 0, kInt64Max);
  ForEachIn(r, "extents", [&](const JsonReader& e) {
    // null: an extent the snapshot should have and the host did not find.
    if (e.IsNull()) {
      s.extents.push_back(nullptr);
      return;
    }
    e.ExpectObject({"device", "partition", "start", "end"});
    auto extent = std::make_shared<SnapshotExtentRecord>();
    extent->device = Device(e["device"], ctx);
    extent->partition = e["partition"].UInt32();
    extent->start = e.Int("start", 0, 0, kInt64Max);
    extent->end = e.Int("end", 0, 0, kInt64Max);
    s.extents.push_back(std::move(extent));
  });
  s.mount_reason = Reason(r, "mount_reason");
  s.resignature_reason = Reason(r, "resignature_reason");
  s.foreign = r.Bool("foreign", false);
  return s;
}

VolumeModel ReadVolume(const JsonReader& r, FixtureContext& ctx) {
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
  v.mount_point = r.String("mount_point", VolumePath(v.uuid));
  v.mounted = r.Bool("mounted", true);
  v.persistent = r.Bool("persistent", v.mounted);
  v.discovered = r.Bool("discovered", true);
  if (!v.discovered && !v.IsKovra())
    r["discovered"].Fail("only a Kovra volume can be undiscovered");
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

}  // namespace Sim
}  // namespace HostCtl
