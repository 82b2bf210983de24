// The pieces of fixture loading that fixture_load.cc (the host) and
// fixture_volumes.cc (volumes and snapshots) share.
#ifndef HOSTCTL_FIXTURE_PARTS_H_
#define HOSTCTL_FIXTURE_PARTS_H_

#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>

#include "hostctl/json_reader.h"
#include "hostctl/records.h"

namespace HostCtl {
namespace Sim {

constexpr int64_t kInt32Max = 2147483647;
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

// What has been read so far that later values refer to or must not repeat.
struct FixtureContext {
  std::set<std::string> devices;
  std::map<std::string, std::string> volume_names;  // name -> JSON path
  std::map<std::string, std::string> volume_uuids;  // uuid -> JSON path
};

// A string that must not be empty.
std::string NonEmpty(const JsonReader& r);

VolumeModel ReadVolume(const JsonReader& r, FixtureContext& ctx);
SnapshotRecord ReadSnapshot(const JsonReader& r, const FixtureContext& ctx);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_FIXTURE_PARTS_H_
