// The simulated host's data, as plain values: what a fixture describes, what
// the store keeps, and what a host-control handle holds after its query.
#ifndef HOSTCTL_STORE_RECORDS_H_
#define HOSTCTL_STORE_RECORDS_H_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace HostCtl {
namespace Sim {

// Host defaults of an NFS mount.
constexpr uint32_t kDefaultQueueDepth = 4294967295u;
constexpr uint32_t kDefaultTransferSize = 1048576u;

struct DeviceRecord {
  std::string name;
  bool ats = true;       // supports ATS
  bool attached = true;  // present on the host
};

struct NfsServerRecord {
  std::string address;
  bool reachable = true;
  std::vector<std::string> read_only_exports;
  int64_t capacity = 1099511627776;  // what a share of this server offers
  int64_t used = 0;
};

struct OptionRecord {
  std::string group;
  std::string name;
  bool is_string = false;
  int64_t int_value = 0;
  std::string string_value;
};

struct HeapRecord {
  std::string name;
  uint64_t current = 0;
  uint64_t max = 0;
};

struct PBCacheRecord {
  uint64_t cache_size = 0;
  uint64_t cache_size_max = 0;
  uint64_t working_set = 0;
  uint64_t working_set_max = 0;
  uint64_t heap_overhead = 0;
  int32_t capacity_miss_ratio = 0;
};

struct FaultRecord {
  int64_t id = 0;
  std::string operation;
  std::string object;  // "" matches every object
  std::string message;
  int64_t nth = 0;    // > 0: fire only on that matching call
  int64_t times = 0;  // > 0: fire at most that many times
  int64_t calls = 0;
  int64_t fired = 0;
};

struct EventRecord {
  std::string time;  // UTC, "2026-12-06T03:20:00Z"
  std::string event;
  std::string input;  // the exact bytes
};

// One extent of a volume, with what the host knows of its device.
struct ExtentRecord {
  std::string device;
  unsigned int partition = 0;
  bool ats = true;
  bool attached = true;
};

struct HeartbeatRecord {
  std::string uuid;
  std::string mac;
  uint32_t driver_major = 0;
  uint32_t driver_minor = 0;
  int64_t offset = 0;
  uint8_t lock_mode = 0;
  bool alive = true;
};

struct UnmapRecord {
  uint32_t granularity = 1048576;
  std::string priority = "low";
  int32_t bandwidth = 0;
  std::string method = "priority";
  uint32_t reserved = 0;
};

struct SnapshotExtentRecord {
  std::string device;
  unsigned int partition = 0;
  int64_t start = 0;
  int64_t end = 0;
  bool attached = true;
};

struct SnapshotRecord {
  int64_t id = 0;
  std::string label;
  std::string uuid;
  std::string lvm_uuid;
  uint32_t version = 6;  // of the volume it becomes
  int64_t capacity = 0;
  int64_t used = 0;
  // Null where the host did not find that extent.
  std::vector<std::shared_ptr<SnapshotExtentRecord>> extents;
  std::optional<uint32_t> mount_reason;        // forces CanResolve's answer
  std::optional<uint32_t> resignature_reason;  // forces CanResolve's answer
  bool foreign = false;                        // another implementation class
  int64_t mounted_as = 0;                      // the volume a mount with its signature made, or 0
};

// Extents loaded once for every volume of one query (see VolumeRecord).
struct VolumeBatch {
  size_t volumes = 0;  // how many records the query made
  int64_t host = 0;    // whose view: which devices it reaches (0: the session's host)
  bool loaded = false;
  std::map<int64_t, std::vector<std::shared_ptr<ExtentRecord>>> extents;
  // The NFS servers by address, read once for the batch's NAS volumes.
  bool servers_loaded = false;
  std::map<std::string, NfsServerRecord> servers;
};

// One volume row. Kovra fields are used by Kovra volumes, NAS fields by NFS
// and NFS41 volumes.
struct VolumeRecord {
  int64_t id = 0;
  int64_t host_id = 0;  // the host whose view the per-host fields are
  std::string type;
  std::string name;
  std::string uuid;
  std::string mount_point;
  bool mounted = true;
  bool persistent = true;  // mounted again after a restart
  bool discovered = true;
  bool busy = false;
  bool accessible = true;
  int64_t capacity = 0;
  int64_t used = 0;
  int arrak = 0;

  // Kovra
  uint32_t version = 6;
  std::string lvm_uuid;
  uint32_t lock_mode = 0;
  bool clustered_kadisk = false;
  UnmapRecord unmap;
  int64_t reclaimed = 0;

  // NAS
  std::vector<std::string> hosts;
  std::string share;
  bool read_only = false;
  bool pe = false;
  bool hidden = false;
  std::string strelnic;
  std::string strelnic_param;
  uint32_t queue_depth = kDefaultQueueDepth;
  uint32_t boot_queue_depth = kDefaultQueueDepth;  // what a restart restores
  uint32_t max_read = kDefaultTransferSize;
  uint32_t max_write = kDefaultTransferSize;
  bool preunmount = false;
  uint32_t security = 0;

  // The query this row came from; extents are read for all its rows at once.
  std::shared_ptr<VolumeBatch> batch;

  bool IsKovra() const { return type == "Kovra"; }
  bool IsNas() const { return type == "NFS" || type == "NFS41"; }
};

// A volume with everything that belongs to it, as a fixture describes it.
struct VolumeModel {
  VolumeRecord volume;
  std::vector<ExtentRecord> extents;
  std::vector<HeartbeatRecord> heartbeats;
  // A non-persistent snapshot mount: the snapshot it becomes at a restart.
  std::optional<SnapshotRecord> from_snapshot;
};

// A whole host. The SAN's parts (devices, NFS servers, each Kovra volume's
// row, extents and heartbeats, snapshots) are the cluster's; `others` are
// the cluster's other hosts, which hold their own parts only: of a Kovra
// volume, the name and their view.
struct HostModel {
  std::string host = "localhost";
  std::string mac;  // "" when the fixture gives none
  bool up = true;
  bool ats_only = true;  // whether it can use ATS-only locking
  std::map<unsigned, bool> features;
  std::vector<OptionRecord> options;
  std::vector<DeviceRecord> devices;
  std::vector<std::string> strelnics;
  std::vector<NfsServerRecord> servers;
  std::vector<VolumeModel> volumes;
  std::vector<SnapshotRecord> snapshots;
  std::vector<HeapRecord> heaps;
  PBCacheRecord pbcache;
  int64_t psa_restores = 0;
  int64_t iorm_signals = 0;
  std::vector<FaultRecord> faults;
  std::vector<EventRecord> events;
  std::vector<std::string> unreachable;  // devices of the SAN the host cannot reach
  std::vector<HostModel> others;
};

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_RECORDS_H_
