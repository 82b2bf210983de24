// A small host for the datastore commands' tests: Kovra volumes of several
// versions and states, a NAS volume and a boot partition.
#ifndef TESTS_COMMANDS_FILESYSTEM_DATASTORE_HOST_H_
#define TESTS_COMMANDS_FILESYSTEM_DATASTORE_HOST_H_

#include <nlohmann/json.hpp>

namespace TarvexCli {
namespace Testing {

inline nlohmann::json DatastoreHost() {
  return R"({
    "format": 1,
    "devices": [{"name": "naa.600a0b80001d3f2c", "ats": true},
                {"name": "naa.600a0b80001d3f2d", "ats": true}],
    "volumes": [
      {"type": "Kovra", "name": "ds-prod-01", "uuid": "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3",
       "capacity": 100, "used": 30,
       "kovra": {"version": 6, "lvm_uuid": "5f1e2d3b-11aa22bb-33cc-027a3ea1b2c3",
                 "extents": [{"device": "naa.600a0b80001d3f2c", "partition": 1}]}},
      {"type": "Kovra", "name": "ds-legacy", "uuid": "4a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c4",
       "capacity": 200, "used": 50,
       "kovra": {"version": 3, "lvm_uuid": "4a2b3c4c-11aa22bb-33cc-027a3ea1b2c4",
                 "extents": [{"device": "naa.600a0b80001d3f2d", "partition": 1}]}},
      {"type": "Kovra", "name": "ds-offline", "uuid": "3a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c5",
       "capacity": 300, "used": 0, "mounted": false, "persistent": false,
       "kovra": {"version": 5, "lvm_uuid": "3a2b3c4c-11aa22bb-33cc-027a3ea1b2c5",
                 "extents": [{"device": "naa.600a0b80001d3f2d", "partition": 2}]}},
      {"type": "Kovra", "name": "ds-busy", "uuid": "2a2b3c4d-1a2b3c4d-5e6f-027a3ea1b2c6",
       "capacity": 400, "used": 10, "busy": true,
       "kovra": {"version": 4, "lvm_uuid": "2a2b3c4c-11aa22bb-33cc-027a3ea1b2c6",
                 "extents": [{"device": "naa.600a0b80001d3f2d", "partition": 3}]}},
      {"type": "NFS", "name": "nas-iso", "uuid": "c0a80a0a-2f6e6673", "mount_point":
       "/kovra/volumes/c0a80a0a-2f6e6673", "capacity": 1000, "used": 400,
       "nfs": {"hosts": ["192.0.2.10"], "share": "/exports/iso"}},
      {"type": "vfat", "name": "BOOTBANK1", "uuid": "6a3b9c2d-44ef1e2a-0000-000000000000",
       "capacity": 4293918720, "used": 100000}
    ]
  })"_json;
}

}  // namespace Testing
}  // namespace TarvexCli

#endif  // TESTS_COMMANDS_FILESYSTEM_DATASTORE_HOST_H_
