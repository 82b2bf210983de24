PRAGMA application_id = 1414682200;
PRAGMA user_version = 3;
PRAGMA foreign_keys=OFF;
BEGIN TRANSACTION;
CREATE TABLE host(
  id INTEGER PRIMARY KEY CHECK (id = 1),
  name TEXT NOT NULL,
  psa_restores INTEGER NOT NULL DEFAULT 0,
  pb_cache_size INTEGER NOT NULL DEFAULT 0,
  pb_cache_size_max INTEGER NOT NULL DEFAULT 0,
  pb_working_set INTEGER NOT NULL DEFAULT 0,
  pb_working_set_max INTEGER NOT NULL DEFAULT 0,
  pb_heap_overhead INTEGER NOT NULL DEFAULT 0,
  pb_capacity_miss_ratio INTEGER NOT NULL DEFAULT 0, iorm_signals INTEGER NOT NULL DEFAULT 0);
INSERT INTO host VALUES(1,'hvx-lab-01.example.test',0,805306368,1073741824,2199023255552,4398046511104,1572864,3,0);
CREATE TABLE features(number INTEGER PRIMARY KEY, enabled INTEGER NOT NULL);
INSERT INTO features VALUES(145,1);
INSERT INTO features VALUES(284,1);
CREATE TABLE advanced_options(
  id INTEGER PRIMARY KEY,
  grp TEXT NOT NULL,
  name TEXT NOT NULL,
  is_string INTEGER NOT NULL,
  int_value INTEGER NOT NULL DEFAULT 0,
  string_value TEXT NOT NULL DEFAULT '',
  UNIQUE (grp, name));
INSERT INTO advanced_options VALUES(1,'Kovra3','EnableOnlineATSUpgrade',0,1,'');
INSERT INTO advanced_options VALUES(2,'Kovra3','MaxHeapSizeMB',0,256,'');
INSERT INTO advanced_options VALUES(3,'NFS','MaxVolumes',0,256,'');
INSERT INTO advanced_options VALUES(4,'Syslog','LogHost',1,0,'udp://192.0.2.50:514');
CREATE TABLE devices(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE,
  ats INTEGER NOT NULL,
  attached INTEGER NOT NULL);
INSERT INTO devices VALUES(1,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c01',1,1);
INSERT INTO devices VALUES(2,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c02',1,1);
INSERT INTO devices VALUES(3,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c03',1,1);
INSERT INTO devices VALUES(4,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c04',1,1);
INSERT INTO devices VALUES(5,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c05',1,1);
INSERT INTO devices VALUES(6,'naa.6027a3e1005a2b3c4d5e6f7a8b9c0d11',0,1);
INSERT INTO devices VALUES(7,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c06',1,1);
INSERT INTO devices VALUES(8,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c07',1,1);
INSERT INTO devices VALUES(9,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c08',1,1);
INSERT INTO devices VALUES(10,'naa.6027a3e41b2c3d4e5f60718293a4b5c1',1,1);
INSERT INTO devices VALUES(11,'naa.6027a3e41b2c3d4e5f60718293a4b5c2',1,1);
INSERT INTO devices VALUES(12,'naa.6027a3e2001c3a2f9e4d7b8c1a2b3c09',1,1);
CREATE TABLE strelnics(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);
INSERT INTO strelnics VALUES(1,'tvn0');
INSERT INTO strelnics VALUES(2,'tvn1');
CREATE TABLE nfs_servers(
  id INTEGER PRIMARY KEY,
  address TEXT NOT NULL UNIQUE,
  reachable INTEGER NOT NULL,
  capacity INTEGER NOT NULL,
  used INTEGER NOT NULL);
INSERT INTO nfs_servers VALUES(1,'192.0.2.10',1,536870912000,322122547200);
INSERT INTO nfs_servers VALUES(2,'192.0.2.11',1,1099511627776,0);
INSERT INTO nfs_servers VALUES(3,'198.51.100.20',1,8796093022208,2199023255552);
INSERT INTO nfs_servers VALUES(4,'203.0.113.21',1,4398046511104,1099511627776);
INSERT INTO nfs_servers VALUES(5,'203.0.113.22',1,4398046511104,1099511627776);
INSERT INTO nfs_servers VALUES(6,'203.0.113.50',0,2199023255552,0);
CREATE TABLE nfs_read_only_exports(
  server_id INTEGER NOT NULL REFERENCES nfs_servers(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL,
  share TEXT NOT NULL,
  PRIMARY KEY (server_id, pos));
INSERT INTO nfs_read_only_exports VALUES(1,0,'/exports/iso');
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
  nfs_security INTEGER NOT NULL, reclaimed INTEGER NOT NULL DEFAULT 0);
INSERT INTO volumes VALUES(1,'Kovra','datastore1','5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3','/kovra/volumes/5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3',1,1,1,0,1,536870912000,193273528320,1,6,'5f1e2d3b-11aa22bb-33cc-027a3ea1b2c3',16,0,1048576,'low',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(2,'Kovra','datastore2','60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3','/kovra/volumes/60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3',1,1,1,0,1,2199023255552,879609302220,1,6,'60a2b4c5-2b3c4d5e-6f70-027a3ea1b2c3',0,1,1048576,'medium',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(3,'Kovra','legacy3','4c7d9e1f-3a5b7c9d-0e1f-027a3ea1b2c3','/kovra/volumes/4c7d9e1f-3a5b7c9d-0e1f-027a3ea1b2c3',1,1,1,0,1,107374182400,53687091200,2,3,'4c7d9e1e-6f708192-a3b4-027a3ea1b2c3',0,0,1048576,'none',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(4,'Kovra','ssd-fast','58b3c5d7-2e4f6a8b-3c5d-027a3ea1b2c3','/kovra/volumes/58b3c5d7-2e4f6a8b-3c5d-027a3ea1b2c3',1,1,1,0,1,274877906944,68719476736,1,5,'58b3c5d6-8192a3b4-c5d6-027a3ea1b2c3',0,0,1048576,'low',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(5,'Kovra','archive','55d6e7f8-4a5b6c7d-8e9f-027a3ea1b2c3','/kovra/volumes/55d6e7f8-4a5b6c7d-8e9f-027a3ea1b2c3',1,1,1,0,1,1099511627776,824633720832,2,5,'55d6e7f7-a3b4c5d6-e7f8-027a3ea1b2c3',0,0,1048576,'low',100,'fixed',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(6,'Kovra','vm-busy','61f0e1d2-5b6c7d8e-9f0a-027a3ea1b2c3','/kovra/volumes/61f0e1d2-5b6c7d8e-9f0a-027a3ea1b2c3',1,1,1,1,1,536870912000,429496729600,1,6,'61f0e1d1-b4c5d6e7-f809-027a3ea1b2c3',16,0,1048576,'low',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(7,'Kovra','scratch','62a1b2c3-6c7d8e9f-0a1b-027a3ea1b2c3','/kovra/volumes/62a1b2c3-6c7d8e9f-0a1b-027a3ea1b2c3',0,0,1,0,1,214748364800,10737418240,1,6,'62a1b2c2-d6e7f809-1a2b-027a3ea1b2c3',0,0,1048576,'low',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(8,'Kovra','new-lun','63b2c3d4-7d8e9f0a-1b2c-027a3ea1b2c3','/kovra/volumes/63b2c3d4-7d8e9f0a-1b2c-027a3ea1b2c3',0,0,0,0,1,1099511627776,1073741824,1,6,'63b2c3d3-e7f8091a-2b3c-027a3ea1b2c3',0,0,1048576,'low',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(9,'NFS','nfs-iso','a0b1c2d3-e4f5a6b7','/kovra/volumes/a0b1c2d3-e4f5a6b7',1,1,1,0,1,536870912000,322122547200,2,6,'',0,0,1048576,'low',0,'priority',0,'192.0.2.10','/exports/iso',1,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(10,'NFS','nfs-backup','b1c2d3e4-f5a6b7c8','/kovra/volumes/b1c2d3e4-f5a6b7c8',1,1,1,0,1,8796093022208,2199023255552,1,6,'',0,0,1048576,'low',0,'priority',0,'198.51.100.20','/vol/backup',0,0,0,'tvn1','tvn1',64,64,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(11,'NFS','pe-vobj0','c2d3e4f5-a6b7c8d9','/kovra/volumes/c2d3e4f5-a6b7c8d9',1,1,1,0,1,1099511627776,0,0,6,'',0,0,1048576,'low',0,'priority',0,'192.0.2.11','/pe/vobj0',0,1,1,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(12,'NFS','nfs-legacy','d3e4f5a6-b7c8d9e0','/kovra/volumes/d3e4f5a6-b7c8d9e0',0,0,1,0,1,2199023255552,0,0,6,'',0,0,1048576,'low',0,'priority',0,'203.0.113.50','/export/legacy',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(13,'NFS41','nfs41-home','e4f5a6b7-c8d9e0f1','/kovra/volumes/e4f5a6b7-c8d9e0f1',1,1,1,0,1,4398046511104,1099511627776,2,6,'',0,0,1048576,'low',0,'priority',0,'203.0.113.21,203.0.113.22','/export/home',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,2,0);
INSERT INTO volumes VALUES(14,'vfat','BOOTBANK1','5e9c1a2b-3c4d5e6f-7a8b-027a3ea1b2c3','/kovra/volumes/5e9c1a2b-3c4d5e6f-7a8b-027a3ea1b2c3',1,1,1,0,1,4293591040,171966464,0,6,'',0,0,1048576,'low',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
INSERT INTO volumes VALUES(15,'Kovra','ds-prod-01','50ac1b12-6b9eebe0-6765-80c16e6d3408','/kovra/volumes/50ac1b12-6b9eebe0-6765-80c16e6d3408',1,1,1,0,1,1099511627776,429496729600,1,6,'50ac1b11-f8091a2b-3c4d-027a3ea1b2c3',16,0,1048576,'low',0,'priority',0,'','',0,0,0,'','',4294967295,4294967295,1048576,1048576,0,0,0);
CREATE TABLE extents(
  volume_id INTEGER NOT NULL REFERENCES volumes(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL,
  device_id INTEGER NOT NULL REFERENCES devices(id),
  partition INTEGER NOT NULL,
  PRIMARY KEY (volume_id, pos));
INSERT INTO extents VALUES(1,0,1,1);
INSERT INTO extents VALUES(2,0,2,1);
INSERT INTO extents VALUES(2,1,3,1);
INSERT INTO extents VALUES(3,0,4,1);
INSERT INTO extents VALUES(4,0,5,1);
INSERT INTO extents VALUES(5,0,6,1);
INSERT INTO extents VALUES(6,0,7,1);
INSERT INTO extents VALUES(7,0,8,3);
INSERT INTO extents VALUES(8,0,9,1);
INSERT INTO extents VALUES(15,0,12,1);
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
INSERT INTO heartbeats VALUES(1,0,'5f1e2d40-0a1b2c3d-4e5f-027a3ea1b2c3','02:7a:3e:a1:b2:c3',6,82,3145728,4,1);
INSERT INTO heartbeats VALUES(1,1,'5f1e2d41-1b2c3d4e-5f60-027a3e5bc8d9','02:7a:3e:5b:c8:d9',6,82,3149824,4,1);
INSERT INTO heartbeats VALUES(2,0,'60a2b4d0-3c4d5e6f-7081-027a3ea1b2c3','02:7a:3e:a1:b2:c3',6,82,3145728,0,1);
INSERT INTO heartbeats VALUES(2,1,'60a2b4d1-4d5e6f70-8192-027a3e5bc8d9','02:7a:3e:5b:c8:d9',6,82,3149824,4,1);
INSERT INTO heartbeats VALUES(2,2,'60a2b4d2-5e6f7081-92a3-027a3e5c2233','02:7a:3e:5c:22:33',5,61,3153920,0,0);
INSERT INTO heartbeats VALUES(3,0,'4c7d9e20-708192a3-b4c5-027a3ea1b2c3','02:7a:3e:a1:b2:c3',3,54,3145728,0,1);
INSERT INTO heartbeats VALUES(4,0,'58b3c5e0-92a3b4c5-d6e7-027a3e5c2233','02:7a:3e:5c:22:33',5,61,3145728,0,0);
INSERT INTO heartbeats VALUES(6,0,'61f0e1e0-c5d6e7f8-091a-027a3ea1b2c3','02:7a:3e:a1:b2:c3',6,82,3145728,4,1);
INSERT INTO heartbeats VALUES(15,0,'50ac1b20-091a2b3c-4d5e-027a3ea1b2c3','02:7a:3e:a1:b2:c3',6,82,3145728,4,1);
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
INSERT INTO snapshots VALUES(1,'prod-db','4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6','4e8f0a1b-7c8d9e0f-1a2b-027a3ed4e5f6',6,322122547200,161061273600,NULL,NULL,0,NULL);
INSERT INTO snapshots VALUES(2,'datastore1','5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3','5f1e2d3b-11aa22bb-33cc-027a3ea1b2c3',6,536870912000,193273528320,NULL,NULL,0,NULL);
CREATE TABLE snapshot_extents(
  snapshot_id INTEGER NOT NULL REFERENCES snapshots(id) ON DELETE CASCADE,
  pos INTEGER NOT NULL,
  device_id INTEGER REFERENCES devices(id),
  partition INTEGER NOT NULL,
  start INTEGER NOT NULL,
  end_offset INTEGER NOT NULL,
  PRIMARY KEY (snapshot_id, pos));
INSERT INTO snapshot_extents VALUES(1,0,10,1,0,307199);
INSERT INTO snapshot_extents VALUES(2,0,11,1,0,255999);
INSERT INTO snapshot_extents VALUES(2,1,NULL,0,0,0);
CREATE TABLE heaps(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  current INTEGER NOT NULL,
  max INTEGER NOT NULL);
INSERT INTO heaps VALUES(1,'kovra3',83886080,268435456);
INSERT INTO heaps VALUES(2,'nfsclient',4194304,33554432);
INSERT INTO heaps VALUES(3,'lvm',2097152,8388608);
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
CREATE INDEX volumes_by_uuid ON volumes(uuid);
COMMIT;
