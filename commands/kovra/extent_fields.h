// How the two extent lists (`kovra extent list`, `kovra snapshot extent
// list`) turn a volume and one of its extents into field values. `Source`
// has a `volume`, an `extent` and the extent's `number` in the volume.
#ifndef COMMANDS_KOVRA_EXTENT_FIELDS_H_
#define COMMANDS_KOVRA_EXTENT_FIELDS_H_

#include <cstdint>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

template <class Source>
struct ExtentFields {
  // The volume is asked again for every extent.
  static MetaPtr VolumeName(const Source& s) {
    return MetaObj::MetaString::New(s.volume.GetVolumeName());
  }
  static MetaPtr KovraUuid(const Source& s) { return MetaObj::MetaString::New(s.volume.GetUuid()); }
  static MetaPtr LvmUuid(const Source& s) {
    return MetaObj::MetaString::New(s.volume.GetLvmUuid());
  }
  static MetaPtr Number(const Source& s) { return MetaObj::MetaInt::New(s.number); }
  static MetaPtr DeviceName(const Source& s) {
    return MetaObj::MetaString::New(s.extent.GetDeviceName());
  }
  // Partition numbers are 8-bit on the device: only the low 8 bits are shown.
  static MetaPtr Partition(const Source& s) {
    return MetaObj::MetaInt::New(static_cast<uint8_t>(s.extent.GetPartitionNumber()));
  }
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_EXTENT_FIELDS_H_
