// Every field of a volume, named once: its column in the store's `volumes`
// table, its member of VolumeRecord, the fixture object its key sits in,
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

// X(column, member, part, key, summary, read, fallback). `fallback` is an
// expression of `v`, the VolumeRecord read so far (the fields before it).
// clang-format off
#define TARVEX_VOLUME_FIELDS(X) \
  X(type,                 type,             kVolume,  "type",             true,  kRule,  v.type) \
  X(name,                 name,             kVolume,  "name",             true,  kRule,  v.name) \
  X(uuid,                 uuid,             kVolume,  "uuid",             true,  kRule,  v.uuid) \
  X(mount_point,          mount_point,      kVolume,  "mount_point",      true,  kPlain, VolumePath(v.uuid)) \
  X(mounted,              mounted,          kVolume,  "mounted",          true,  kPlain, true) \
  X(persistent,           persistent,       kVolume,  "persistent",       false, kPlain, v.mounted) \
  X(discovered,           discovered,       kVolume,  "discovered",       false, kPlain, true) \
  X(busy,                 busy,             kVolume,  "busy",             false, kPlain, false) \
  X(accessible,           accessible,       kVolume,  "accessible",       false, kPlain, true) \
  X(capacity,             capacity,         kVolume,  "capacity",         true,  kPlain, 0) \
  X(used,                 used,             kVolume,  "used",             true,  kPlain, 0) \
  X(arrak,                arrak,            kVolume,  "arrak",            false, kCount, 0) \
  X(version,              version,          kKovra,   "version",          true,  kRule,  v.version) \
  X(lvm_uuid,             lvm_uuid,         kKovra,   "lvm_uuid",         false, kPlain, "") \
  X(lock_mode,            lock_mode,        kKovra,   "lock_mode",        false, kPlain, 0) \
  X(clustered_kadisk,     clustered_kadisk, kKovra,   "clustered_kadisk", false, kPlain, false) \
  X(unmap_granularity,    unmap.granularity, kUnmap,  "granularity",      false, kPlain, v.unmap.granularity) \
  X(unmap_priority,       unmap.priority,   kUnmap,   "priority",         false, kPlain, v.unmap.priority) \
  X(unmap_method,         unmap.method,     kUnmap,   "method",           false, kPlain, v.unmap.method) \
  X(unmap_bandwidth,      unmap.bandwidth,  kUnmap,   "bandwidth",        false, kPlain, 0) \
  X(unmap_reserved,       unmap.reserved,   kUnmap,   "reserved",         false, kPlain, 0) \
  X(reclaimed,            reclaimed,        kReclaim, "reclaimed",        false, kPlain, 0) \
  X(nfs_hosts,            hosts,            kNfs,     "hosts",            false, kRule,  v.hosts) \
  X(nfs_share,            share,            kNfs,     "share",            false, kRule,  v.share) \
  X(nfs_read_only,        read_only,        kNfs,     "read_only",        false, kPlain, false) \
  X(nfs_pe,               pe,               kNfs,     "pe",               false, kPlain, false) \
  X(nfs_hidden,           hidden,           kNfs,     "hidden",           false, kPlain, false) \
  X(nfs_strelnic,         strelnic,         kNfs,     "strelnic",         false, kPlain, "") \
  X(nfs_strelnic_param,   strelnic_param,   kNfs,     "strelnic_param",   false, kPlain, v.strelnic) \
  X(nfs_queue_depth,      queue_depth,      kNfs,     "queue_depth",      false, kPlain, kDefaultQueueDepth) \
  X(nfs_boot_queue_depth, boot_queue_depth, kNfs,     "boot_queue_depth", false, kPlain, v.queue_depth) \
  X(nfs_max_read,         max_read,         kNfs,     "max_read",         false, kPlain, kDefaultTransferSize) \
  X(nfs_max_write,        max_write,        kNfs,     "max_write",        false, kPlain, kDefaultTransferSize) \
  X(nfs_preunmount,       preunmount,       kNfs,     "preunmount",       false, kPlain, false) \
  X(nfs_security,         security,         kNfs,     "security",         false, kCount, v.type == "NFS" ? 0 : 1)
// clang-format on

// One value per field, in list order.
enum VolumeField : int {
#define TARVEX_VOLUME_FIELD_ENUM(column, member, part, key, summary, read, fallback) \
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
};

constexpr VolumeFieldInfo kVolumeFields[] = {
#define TARVEX_VOLUME_FIELD_INFO(column, member, part, key, summary, read, fallback) \
  {#column, VolumePart::part, key, summary},
    TARVEX_VOLUME_FIELDS(TARVEX_VOLUME_FIELD_INFO)
#undef TARVEX_VOLUME_FIELD_INFO
};

// A field's fixture key.
constexpr const char* VolumeKey(VolumeField field) { return kVolumeFields[field].key; }

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_VOLUME_FIELDS_H_
