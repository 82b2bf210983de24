#include <nlohmann/json.hpp>

#include "hostctl/fixture.h"
#include "hostctl/text_util.h"

namespace HostCtl {
namespace Sim {
namespace {

using Json = nlohmann::ordered_json;

Json Reason(const std::optional<uint32_t>& reason) { return reason ? Json(*reason) : Json(); }

Json DumpSnapshot(const SnapshotRecord& s) {
  Json extents = Json::array();
  for (const auto& e : s.extents) {
    if (!e) {
      extents.push_back(nullptr);
      continue;
    }
    extents.push_back(
        {{"device", e->device}, {"partition", e->partition}, {"start", e->start}, {"end", e->end}});
  }
  return {{"label", s.label},
          {"uuid", s.uuid},
          {"lvm_uuid", s.lvm_uuid},
          {"version", s.version},
          {"capacity", s.capacity},
          {"used", s.used},
          {"extents", extents},
          {"mount_reason", Reason(s.mount_reason)},
          {"resignature_reason", Reason(s.resignature_reason)},
          {"foreign", s.foreign}};
}

Json DumpKovra(const VolumeModel& m) {
  const VolumeRecord& v = m.volume;
  Json extents = Json::array();
  for (const ExtentRecord& e : m.extents) {
    extents.push_back({{"device", e.device}, {"partition", e.partition}});
  }
  Json heartbeats = Json::array();
  for (const HeartbeatRecord& h : m.heartbeats) {
    heartbeats.push_back({{"uuid", h.uuid},
                          {"mac", h.mac},
                          {"driver_major", h.driver_major},
                          {"driver_minor", h.driver_minor},
                          {"offset", h.offset},
                          {"lock_mode", h.lock_mode},
                          {"alive", h.alive}});
  }
  return {{"version", v.version},
          {"lvm_uuid", v.lvm_uuid},
          {"lock_mode", v.lock_mode},
          {"clustered_kadisk", v.clustered_kadisk},
          {"extents", extents},
          {"unmap",
           {{"granularity", v.unmap.granularity},
            {"priority", v.unmap.priority},
            {"method", v.unmap.method},
            {"bandwidth", v.unmap.bandwidth},
            {"reserved", v.unmap.reserved}}},
          {"reclaimed", v.reclaimed},
          {"heartbeats", heartbeats},
          {"from_snapshot", m.from_snapshot ? DumpSnapshot(*m.from_snapshot) : Json()}};
}

Json DumpNfs(const VolumeRecord& v) {
  return {{"hosts", v.hosts},
          {"share", v.share},
          {"read_only", v.read_only},
          {"pe", v.pe},
          {"hidden", v.hidden},
          {"strelnic", v.strelnic},
          {"strelnic_param", v.strelnic_param},
          {"queue_depth", v.queue_depth},
          {"boot_queue_depth", v.boot_queue_depth},
          {"max_read", v.max_read},
          {"max_write", v.max_write},
          {"preunmount", v.preunmount},
          {"security", v.security}};
}

Json DumpVolume(const VolumeModel& m) {
  const VolumeRecord& v = m.volume;
  Json j = {{"type", v.type},
            {"name", v.name},
            {"uuid", v.uuid},
            {"mount_point", v.mount_point},
            {"mounted", v.mounted},
            {"persistent", v.persistent},
            {"discovered", v.discovered},
            {"busy", v.busy},
            {"accessible", v.accessible},
            {"capacity", v.capacity},
            {"used", v.used},
            {"arrak", v.arrak}};
  if (v.IsKovra()) j["kovra"] = DumpKovra(m);
  if (v.IsNas()) j["nfs"] = DumpNfs(v);
  return j;
}

Json DumpOption(const OptionRecord& o) {
  return {{"group", o.group},
          {"name", o.name},
          {"type", o.is_string ? "string" : "integer"},
          {"value", o.is_string ? Json(o.string_value) : Json(o.int_value)}};
}

Json DumpEvent(const EventRecord& e) {
  Json j = {{"time", e.time}, {"event", e.event}};
  // A JSON string holds text; bytes that are not UTF-8 go as base64.
  if (IsValidUtf8(e.input)) {
    j["input"] = e.input;
  } else {
    j["input_base64"] = Base64Encode(e.input);
  }
  return j;
}

}  // namespace

std::string DumpFixture(const HostModel& m) {
  Json features = Json::object();
  for (const auto& f : m.features) features[std::to_string(f.first)] = f.second;
  Json options = Json::array();
  for (const OptionRecord& o : m.options) options.push_back(DumpOption(o));
  Json devices = Json::array();
  for (const DeviceRecord& d : m.devices) {
    devices.push_back({{"name", d.name}, {"ats", d.ats}, {"attached", d.attached}});
  }
  Json servers = Json::array();
  for (const NfsServerRecord& s : m.servers) {
    servers.push_back({{"address", s.address},
                       {"reachable", s.reachable},
                       {"read_only_exports", s.read_only_exports},
                       {"capacity", s.capacity},
                       {"used", s.used}});
  }
  Json volumes = Json::array();
  for (const VolumeModel& v : m.volumes) volumes.push_back(DumpVolume(v));
  Json snapshots = Json::array();
  for (const SnapshotRecord& s : m.snapshots) snapshots.push_back(DumpSnapshot(s));
  Json heaps = Json::array();
  for (const HeapRecord& h : m.heaps) {
    heaps.push_back({{"name", h.name}, {"current", h.current}, {"max", h.max}});
  }
  const PBCacheRecord& pb = m.pbcache;
  Json faults = Json::array();
  for (const FaultRecord& f : m.faults) {
    faults.push_back({{"operation", f.operation},
                      {"object", f.object},
                      {"message", f.message},
                      {"nth", f.nth},
                      {"times", f.times},
                      {"calls", f.calls},
                      {"fired", f.fired}});
  }
  Json events = Json::array();
  for (const EventRecord& e : m.events) events.push_back(DumpEvent(e));

  Json root = {{"format", 1},
               {"host", m.host},
               {"features", features},
               {"advanced_options", options},
               {"devices", devices},
               {"strelnics", m.strelnics},
               {"nfs_servers", servers},
               {"volumes", volumes},
               {"snapshots", snapshots},
               {"heaps", heaps},
               {"pbcache",
                {{"cache_size", pb.cache_size},
                 {"cache_size_max", pb.cache_size_max},
                 {"working_set", pb.working_set},
                 {"working_set_max", pb.working_set_max},
                 {"heap_overhead", pb.heap_overhead},
                 {"capacity_miss_ratio", pb.capacity_miss_ratio}}},
               {"psa", {{"restores", m.psa_restores}}},
               {"iorm", {{"signals", m.iorm_signals}}},
               {"faults", faults},
               {"events", events}};
  return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string DumpEventsJson(const std::vector<EventRecord>& events) {
  Json list = Json::array();
  for (const EventRecord& e : events) list.push_back(DumpEvent(e));
  return list.dump(2) + "\n";
}

}  // namespace Sim
}  // namespace HostCtl
