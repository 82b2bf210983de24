// The statements of each step of the store's schema, oldest first. A step
// once released never changes; a change of schema is a new step.
#include "hostctl/store/schema_steps.h"

namespace HostCtl {
namespace Sim {

// Version 1: the host, its devices, network, volumes and snapshots.
extern const char kVersion1[] = R"sql(
CREATE TABLE host(
  id INTEGER PRIMARY KEY CHECK (id = 1),
  name TEXT NOT NULL,
  psa_restores INTEGER NOT NULL DEFAULT 0,
  pb_cache_size INTEGER NOT NULL DEFAULT 0,
  pb_cache_size_max INTEGER NOT NULL DEFAULT 0,
  pb_working_set INTEGER NOT NULL DEFAULT 0,
  pb_working_set_max INTEGER NOT NULL DEFAULT 0,
  pb_heap_overhead INTEGER NOT NULL DEFAULT 0,
  pb_capacity_miss_ratio INTEGER NOT NULL DEFAULT 0);
INSERT INTO host(id, name) VALUES (1, 'localhost');
CREATE TABLE features(number INTEGER PRIMARY KEY, enabled INTEGER NOT NULL);
CREATE TABLE advanced_options(
  id INTEGER PRIMARY KEY,
  grp TEXT NOT NULL,
  name TEXT NOT NULL,
  is_string INTEGER NOT NULL,
  int_value INTEGER NOT NULL DEFAULT 0,
  string_value TEXT NOT NULL DEFAULT '',
  UNIQUE (grp, name));
CREATE TABLE devices(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE,
  ats INTEGER NOT NULL,
  attached INTEGER NOT NULL);
CREATE TABLE strelnics(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);
CREATE TABLE nfs_servers(
  id INTEGER PRIMARY KEY,
  address TEXT NOT NULL UNIQUE,
  reachable INTEGER NOT NULL,
  capacity INTEGER NOT NULL,
  used INTEGER NOT NULL);
CREATE TABLE nfs_read_only_exports(
  server_id INTEGER NOT NULL REFERENCES nfs_servers(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL,
  share TEXT NOT NULL,
  PRIMARY KEY (server_id, pos));
CREATE TABLE volumes(
  id INTEGER PRIMARY KEY,
  type TEXT NOT NULL,
  name TEXT NOT NULL UNIQUE,
  uuid TEXT NOT NULL,
  mount_point TEXT NOT NULL,
  mounted INTEGER NOT NULL,
  persistent INTEGER NOT NULL,
  discovered INTEGER NOT NULL,
  busy INTEGER NOT NULL,
  accessible INTEGER NOT NULL,
  capacity INTEGER NOT NULL,
  used INTEGER NOT NULL,
  arrak INTEGER NOT NULL,
  version INTEGER NOT NULL,
  lvm_uuid TEXT NOT NULL,
  lock_mode INTEGER NOT NULL,
  clustered_kadisk INTEGER NOT NULL,
  unmap_granularity INTEGER NOT NULL,
  unmap_priority TEXT NOT NULL,
  unmap_bandwidth INTEGER NOT NULL,
  unmap_method TEXT NOT NULL,
  unmap_reserved INTEGER NOT NULL,
  nfs_hosts TEXT NOT NULL,
  nfs_share TEXT NOT NULL,
  nfs_read_only INTEGER NOT NULL,
  nfs_pe INTEGER NOT NULL,
  nfs_hidden INTEGER NOT NULL,
  nfs_strelnic TEXT NOT NULL,
  nfs_strelnic_param TEXT NOT NULL,
  nfs_queue_depth INTEGER NOT NULL,
  nfs_boot_queue_depth INTEGER NOT NULL,
  nfs_max_read INTEGER NOT NULL,
  nfs_max_write INTEGER NOT NULL,
  nfs_preunmount INTEGER NOT NULL,
  nfs_security INTEGER NOT NULL);
CREATE INDEX volumes_by_uuid ON volumes(uuid);
CREATE TABLE extents(
  volume_id INTEGER NOT NULL REFERENCES volumes(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL,
  device_id INTEGER NOT NULL REFERENCES devices(id),
  partition INTEGER NOT NULL,
  PRIMARY KEY (volume_id, pos));
CREATE TABLE heartbeats(
  volume_id INTEGER NOT NULL REFERENCES volumes(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL,
  uuid TEXT NOT NULL,
  mac TEXT NOT NULL,
  driver_major INTEGER NOT NULL,
  driver_minor INTEGER NOT NULL,
  offset INTEGER NOT NULL,
  lock_mode INTEGER NOT NULL,
  alive INTEGER NOT NULL,
  PRIMARY KEY (volume_id, pos));
CREATE TABLE snapshots(
  id INTEGER PRIMARY KEY,
  label TEXT NOT NULL,
  uuid TEXT NOT NULL,
  lvm_uuid TEXT NOT NULL,
  version INTEGER NOT NULL,
  capacity INTEGER NOT NULL,
  used INTEGER NOT NULL,
  mount_reason INTEGER,
  resignature_reason INTEGER,
  foreign_class INTEGER NOT NULL,
  mounted_as INTEGER REFERENCES volumes(id) ON DELETE CASCADE);
CREATE TABLE snapshot_extents(
  snapshot_id INTEGER NOT NULL REFERENCES snapshots(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL,
  device_id INTEGER REFERENCES devices(id),
  partition INTEGER NOT NULL,
  start INTEGER NOT NULL,
  end_offset INTEGER NOT NULL,
  PRIMARY KEY (snapshot_id, pos));
CREATE TABLE heaps(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  current INTEGER NOT NULL,
  max INTEGER NOT NULL);
)sql";

// Version 2: injected faults and the datastore agent's notifications.
extern const char kVersion2[] = R"sql(
CREATE TABLE faults(
  id INTEGER PRIMARY KEY,
  operation TEXT NOT NULL,
  object TEXT NOT NULL,
  message TEXT NOT NULL,
  nth INTEGER NOT NULL,
  times INTEGER NOT NULL,
  calls INTEGER NOT NULL DEFAULT 0,
  fired INTEGER NOT NULL DEFAULT 0);
CREATE TABLE events(
  id INTEGER PRIMARY KEY,
  time TEXT NOT NULL,
  event TEXT NOT NULL,
  input BLOB NOT NULL);
)sql";

// Version 3: space reclaimed by unmaps, and I/O resource management signals.
extern const char kVersion3[] = R"sql(
ALTER TABLE volumes ADD COLUMN reclaimed INTEGER NOT NULL DEFAULT 0;
ALTER TABLE host ADD COLUMN iorm_signals INTEGER NOT NULL DEFAULT 0;
)sql";

// Version 4: several hosts share one SAN. The host row may repeat, with a
// MAC address and whether the host is up; what is a host's own gains its
// host, and a host may not reach every device of the SAN; each host keeps
// its own view of a volume, and a volume's name is
// unique among what one host sees (kept by the host's rules, not a
// constraint). Tables are rebuilt where a constraint changes. A column that
// every writer fills has no default, so that a writer that leaves one out fails.
extern const char kVersion4[] = R"sql(
CREATE TABLE host_v4(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE,
  mac TEXT NOT NULL DEFAULT '',
  up INTEGER NOT NULL DEFAULT 1 CHECK (up IN (0, 1)),
  psa_restores INTEGER NOT NULL,
  pb_cache_size INTEGER NOT NULL,
  pb_cache_size_max INTEGER NOT NULL,
  pb_working_set INTEGER NOT NULL,
  pb_working_set_max INTEGER NOT NULL,
  pb_heap_overhead INTEGER NOT NULL,
  pb_capacity_miss_ratio INTEGER NOT NULL,
  iorm_signals INTEGER NOT NULL);
INSERT INTO host_v4(id, name, psa_restores, pb_cache_size, pb_cache_size_max, pb_working_set,
  pb_working_set_max, pb_heap_overhead, pb_capacity_miss_ratio, iorm_signals)
  SELECT id, name, psa_restores, pb_cache_size, pb_cache_size_max, pb_working_set,
  pb_working_set_max, pb_heap_overhead, pb_capacity_miss_ratio, iorm_signals FROM host;
DROP TABLE host;
ALTER TABLE host_v4 RENAME TO host;

CREATE TABLE features_v4(
  host_id INTEGER NOT NULL REFERENCES host(id) ON DELETE CASCADE,
  number INTEGER NOT NULL,
  enabled INTEGER NOT NULL,
  PRIMARY KEY (host_id, number)) WITHOUT ROWID;
INSERT INTO features_v4 SELECT 1, number, enabled FROM features;
DROP TABLE features;
ALTER TABLE features_v4 RENAME TO features;

CREATE TABLE advanced_options_v4(
  id INTEGER PRIMARY KEY,
  host_id INTEGER NOT NULL REFERENCES host(id) ON DELETE CASCADE,
  grp TEXT NOT NULL,
  name TEXT NOT NULL,
  is_string INTEGER NOT NULL,
  int_value INTEGER NOT NULL,
  string_value TEXT NOT NULL,
  UNIQUE (host_id, grp, name));
INSERT INTO advanced_options_v4 SELECT id, 1, grp, name, is_string, int_value, string_value
  FROM advanced_options;
DROP TABLE advanced_options;
ALTER TABLE advanced_options_v4 RENAME TO advanced_options;

CREATE TABLE strelnics_v4(
  id INTEGER PRIMARY KEY,
  host_id INTEGER NOT NULL REFERENCES host(id) ON DELETE CASCADE,
  name TEXT NOT NULL,
  UNIQUE (host_id, name));
INSERT INTO strelnics_v4 SELECT id, 1, name FROM strelnics;
DROP TABLE strelnics;
ALTER TABLE strelnics_v4 RENAME TO strelnics;

ALTER TABLE heaps ADD COLUMN host_id INTEGER NOT NULL DEFAULT 1
  REFERENCES host(id) ON DELETE CASCADE;
ALTER TABLE faults ADD COLUMN host_id INTEGER NOT NULL DEFAULT 1
  REFERENCES host(id) ON DELETE CASCADE;
ALTER TABLE events ADD COLUMN host_id INTEGER NOT NULL DEFAULT 1
  REFERENCES host(id) ON DELETE CASCADE;

CREATE TABLE volume_views(
  host_id INTEGER NOT NULL REFERENCES host(id) ON DELETE CASCADE,
  volume_id INTEGER NOT NULL REFERENCES volumes(id) ON DELETE CASCADE,
  mount_point TEXT NOT NULL,
  mounted INTEGER NOT NULL,
  persistent INTEGER NOT NULL,
  discovered INTEGER NOT NULL,
  busy INTEGER NOT NULL,
  accessible INTEGER NOT NULL,
  PRIMARY KEY (host_id, volume_id)) WITHOUT ROWID;
INSERT INTO volume_views SELECT 1, id, mount_point, mounted, persistent, discovered, busy,
  accessible FROM volumes;
CREATE INDEX volume_views_by_volume ON volume_views(volume_id);

CREATE TABLE volumes_v4(
  id INTEGER PRIMARY KEY,
  type TEXT NOT NULL,
  name TEXT NOT NULL,
  uuid TEXT NOT NULL,
  capacity INTEGER NOT NULL,
  used INTEGER NOT NULL,
  arrak INTEGER NOT NULL,
  version INTEGER NOT NULL,
  lvm_uuid TEXT NOT NULL,
  lock_mode INTEGER NOT NULL,
  clustered_kadisk INTEGER NOT NULL,
  unmap_granularity INTEGER NOT NULL,
  unmap_priority TEXT NOT NULL,
  unmap_bandwidth INTEGER NOT NULL,
  unmap_method TEXT NOT NULL,
  unmap_reserved INTEGER NOT NULL,
  nfs_hosts TEXT NOT NULL,
  nfs_share TEXT NOT NULL,
  nfs_read_only INTEGER NOT NULL,
  nfs_pe INTEGER NOT NULL,
  nfs_hidden INTEGER NOT NULL,
  nfs_strelnic TEXT NOT NULL,
  nfs_strelnic_param TEXT NOT NULL,
  nfs_queue_depth INTEGER NOT NULL,
  nfs_boot_queue_depth INTEGER NOT NULL,
  nfs_max_read INTEGER NOT NULL,
  nfs_max_write INTEGER NOT NULL,
  nfs_preunmount INTEGER NOT NULL,
  nfs_security INTEGER NOT NULL,
  reclaimed INTEGER NOT NULL);
INSERT INTO volumes_v4 SELECT id, type, name, uuid, capacity, used, arrak, version, lvm_uuid,
  lock_mode, clustered_kadisk, unmap_granularity, unmap_priority, unmap_bandwidth, unmap_method,
  unmap_reserved, nfs_hosts, nfs_share, nfs_read_only, nfs_pe, nfs_hidden, nfs_strelnic,
  nfs_strelnic_param, nfs_queue_depth, nfs_boot_queue_depth, nfs_max_read, nfs_max_write,
  nfs_preunmount, nfs_security, reclaimed FROM volumes;
DROP TABLE volumes;
ALTER TABLE volumes_v4 RENAME TO volumes;
CREATE INDEX volumes_by_uuid ON volumes(uuid);
CREATE INDEX volumes_by_name ON volumes(name);

CREATE TABLE unreachable(
  host_id INTEGER NOT NULL REFERENCES host(id) ON DELETE CASCADE,
  device_id INTEGER NOT NULL REFERENCES devices(id) ON DELETE CASCADE,
  PRIMARY KEY (host_id, device_id)) WITHOUT ROWID;
)sql";

// Version 5: a host may be unable to use ATS-only locking; which hosts have
// a volume mounted is found without reading every host's view of it.
extern const char kVersion5[] = R"sql(
ALTER TABLE host ADD COLUMN ats_only INTEGER NOT NULL DEFAULT 1 CHECK (ats_only IN (0, 1));
CREATE INDEX volume_views_mounted ON volume_views(volume_id) WHERE mounted = 1;
)sql";

}  // namespace Sim
}  // namespace HostCtl
