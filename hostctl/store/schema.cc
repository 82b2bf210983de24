#include "hostctl/store/schema.h"

#include <string>

#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {
namespace {

// Version 1: the host, its devices, network, volumes and snapshots.
const char kVersion1[] = R"sql(
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
const char kVersion2[] = R"sql(
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
const char kVersion3[] = R"sql(
ALTER TABLE volumes ADD COLUMN reclaimed INTEGER NOT NULL DEFAULT 0;
ALTER TABLE host ADD COLUMN iorm_signals INTEGER NOT NULL DEFAULT 0;
)sql";

}  // namespace

const std::vector<Migration>& Migrations() {
  static const std::vector<Migration> steps = {
      {1, kVersion1},
      {2, kVersion2},
      {3, kVersion3},
  };
  return steps;
}

int CurrentSchemaVersion() { return Migrations().back().version; }

void ApplyMigrations(Db& db, int from, int to) {
  for (const Migration& step : Migrations()) {
    if (step.version > from && step.version <= to) db.Exec(step.sql);
  }
  db.Exec("PRAGMA user_version = " + std::to_string(to));
}

}  // namespace Sim
}  // namespace HostCtl
