// The pieces of fixture loading that fixture_load.cc (the host) and
// fixture_volumes.cc (volumes and snapshots) share.
#ifndef HOSTCTL_FIXTURE_PARTS_H_
#define HOSTCTL_FIXTURE_PARTS_H_

#include <cstdint>
#include <initializer_list>
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

// Calls `read(element)` for each element of the array `parent[key]`, in
// order; nothing when `parent` has no `key`.
template <class Read>
void ForEachIn(const JsonReader& parent, const char* key, Read read) {
  if (!parent.Has(key)) return;
  JsonReader list = parent[key];
  for (size_t i = 0; i < list.Size(); ++i) read(list.At(i));
}

// The same for an array of objects: each element must be an object whose
// keys are all among `keys` before `read` sees it.
template <class Read>
void ForEachObjectIn(const JsonReader& parent, const char* key,
                     std::initializer_list<const char*> keys, Read read) {
  ForEachIn(parent, key, [&](const JsonReader& element) {
    element.ExpectObject(keys);
    read(element);
  });
}

// Calls `read(parent[key])` once that member is checked to be an object whose
// keys are all among `keys`; nothing when `parent` has no `key`.
template <class Read>
void IfObjectIn(const JsonReader& parent, const char* key, std::initializer_list<const char*> keys,
                Read read) {
  if (!parent.Has(key)) return;
  JsonReader object = parent[key];
  object.ExpectObject(keys);
  read(object);
}

VolumeModel ReadVolume(const JsonReader& r, FixtureContext& ctx);
SnapshotRecord ReadSnapshot(const JsonReader& r, const FixtureContext& ctx);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_FIXTURE_PARTS_H_
