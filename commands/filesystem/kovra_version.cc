#include "commands/filesystem/kovra_version.h"

namespace TarvexCli {
namespace FileSystem {

const char* GetKovraVersionString(HostCtl::Storage::KovraFileSystem* volume) {
  if (volume->GetType() != HostCtl::Storage::KovraFileSystem::Kovra_TYPE) return "Non-Kovra";
  switch (volume->GetMajorVersion()) {
    case 2:
      return "Kovra-2";
    case 3:
      return "Kovra-3";
    case 5:
      return "Kovra-5";
    case 6:
      return "Kovra-6";
    default:
      return "Kovra-unknown version";
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
