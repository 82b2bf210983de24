// Every field of a volume, named once: its column in the store (in the
// `volumes` table, or in `volume_views` for a host's own view), its member
// of VolumeRecord, the fixture object its key sits in,
// its key there, whether a listing reads it, how a fixture's value is read
// and what it is when the fixture leaves it out. The rows (volume_rows.cc),
// the fixture's reading and dump (fixture_volumes.cc, fixture_dump.cc) are
// made from this list; tests check the store's schema and docs/fixtures.md
// against it. A field's place in the list is its place in a dump.
#ifndef HOSTCTL_STORE_VOLUME_FIELDS_H_
#define HOSTCTL_STORE_VOLUME_FIELDS_H_

#include <cstddef>

namespace HostCtl {
namespace Sim {

// The fixture object a key sits in. A Kovra volume's "kovra" object holds
// its extents between kKovra and kUnmap, and its heartbeats and snapshot
// after kReclaim; kUnmap is the "unmap" object inside it.
enum class VolumePart { kVolume, kKovra, kUnmap, kReclaim, kNfs };

// How a fixture's value is read:
//   kPlain: by the member's type (a string; a bool; an unsigned 32-bit
//           number; a byte count from 0; a signed 32-bit number);
//   kCount: a number from 0 to 2^31 - 1;
//   kRule:  by a rule of its own in fixture_volumes.cc (required, unique,
//           or checked against other fields).
enum class VolumeRead { kPlain, kCount, kRule };

// Where a field is kept. kShared: in the volume's one row, which every host
// that has the volume reads (a Kovra volume's row is on the SAN; a NAS
// volume has one host). kPerHost: in each host's own view of the volume.
enum class VolumeScope { kShared, kPerHost };

// X(column, scope, member, part, key, summary, read, fallback). `fallback` is
// an expression of `v`, the VolumeRecord read so far (the fields before it).
// clang-format off
#define TARVEX_VOLUME_FIELDS(X) \
  X(type,                 kShared,  type,             kVolume,  "type",             true,  kRule,  v.type) \
  X(name,                 kShared,  name,             kVolume,  "name",             true,  kRule,  v.name) \
  X(uuid,                 kShared,  uuid,             kVolume,  "uuid",             true,  kRule,  v.uuid) \
  X(mount_point,          kPerHost, mount_point,      kVolume,  "mount_point",      true,  kPlain, VolumePath(v.uuid)) \
  X(mounted,              kPerHost, mounted,          kVolume,  "mounted",          true,  kPlain, true) \
  X(persistent,           kPerHost, persistent,       kVolume,  "persistent",       false, kPlain, v.mounted) \
  X(discovered,           kPerHost, discovered,       kVolume,  "discovered",       false, kPlain, true) \
  X(busy,                 kPerHost, busy,             kVolume,  "busy",             false, kPlain, false) \
  X(accessible,           kPerHost, accessible,       kVolume,  "accessible",       false, kPlain, true) \
  X(capacity,             kShared,  capacity,         kVolume,  "capacity",         true,  kPlain, 0) \
  X(used,                 kShared,  used,             kVolume,  "used",             true,  kPlain, 0) \
  X(arrak,                kShared,  arrak,            kVolume,  "arrak",            false, kCount, 0) \
  X(version,              kShared,  version,          kKovra,   "version",          true,  kRule,  v.version) \
  X(lvm_uuid,             kShared,  lvm_uuid,         kKovra,   "lvm_uuid",         false, kPlain, "") \
  X(lock_mode,            kShared,  lock_mode,        kKovra,   "lock_mode",        false, kPlain, 0) \
  X(clustered_kadisk,     kShared,  clustered_kadisk, kKovra,   "clustered_kadisk", false, kPlain, false) \
  X(unmap_granularity,    kShared,  unmap.granularity, kUnmap,  "granularity",      false, kPlain, v.unmap.granularity) \
  X(unmap_priority,       kShared,  unmap.priority,   kUnmap,   "priority",         false, kPlain, v.unmap.priority) \
  X(unmap_method,         kShared,  unmap.method,     kUnmap,   "method",           false, kPlain, v.unmap.method) \
  X(unmap_bandwidth,      kShared,  unmap.bandwidth,  kUnmap,   "bandwidth",        false, kPlain, 0) \
  X(unmap_reserved,       kShared,  unmap.reserved,   kUnmap,   "reserved",         false, kPlain, 0) \
  X(reclaimed,            kShared,  reclaimed,        kReclaim, "reclaimed",        false, kPlain, 0) \
  X(nfs_hosts,            kShared,  hosts,            kNfs,     "hosts",            false, kRule,  v.hosts) \
  X(nfs_share,            kShared,  share,            kNfs,     "share",            false, kRule,  v.share) \
  X(nfs_read_only,        kShared,  read_only,        kNfs,     "read_only",        false, kPlain, false) \
  X(nfs_pe,               kShared,  pe,               kNfs,     "pe",               false, kPlain, false) \
  X(nfs_hidden,           kShared,  hidden,           kNfs,     "hidden",           false, kPlain, false) \
  X(nfs_strelnic,         kShared,  strelnic,         kNfs,     "strelnic",         false, kPlain, "") \
  X(nfs_strelnic_param,   kShared,  strelnic_param,   kNfs,     "strelnic_param",   false, kPlain, v.strelnic) \
  X(nfs_queue_depth,      kShared,  queue_depth,      kNfs,     "queue_depth",      false, kPlain, kDefaultQueueDepth) \
  X(nfs_boot_queue_depth, kShared,  boot_queue_depth, kNfs,     "boot_queue_depth", false, kPlain, v.queue_depth) \
  X(nfs_max_read,         kShared,  max_read,         kNfs,     "max_read",         false, kPlain, kDefaultTransferSize) \
  X(nfs_max_write,        kShared,  max_write,        kNfs,     "max_write",        false, kPlain, kDefaultTransferSize) \
  X(nfs_preunmount,       kShared,  preunmount,       kNfs,     "preunmount",       false, kPlain, false) \
  X(nfs_security,         kShared,  security,         kNfs,     "security",         false, kCount, v.type == "NFS" ? 0 : 1)
// clang-format on

// One value per field, in list order.
enum VolumeField : int {
#define TARVEX_VOLUME_FIELD_ENUM(column, scope, member, part, key, summary, read, fallback) \
  kVolumeField_##column,
  TARVEX_VOLUME_FIELDS(TARVEX_VOLUME_FIELD_ENUM)
#undef TARVEX_VOLUME_FIELD_ENUM
      kVolumeFieldCount
};

struct VolumeFieldInfo {
  const char* column;
  VolumePart part;
  const char* key;
  bool summary;  // read by a listing: these columns come first in a select
  VolumeScope scope;
};

constexpr VolumeFieldInfo kVolumeFields[] = {
#define TARVEX_VOLUME_FIELD_INFO(column, scope, member, part, key, summary, read, fallback) \
  {#column, VolumePart::part, key, summary, VolumeScope::scope},
    TARVEX_VOLUME_FIELDS(TARVEX_VOLUME_FIELD_INFO)
#undef TARVEX_VOLUME_FIELD_INFO
};

// A field's fixture key.
constexpr const char* VolumeKey(VolumeField field) { return kVolumeFields[field].key; }

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_VOLUME_FIELDS_H_
