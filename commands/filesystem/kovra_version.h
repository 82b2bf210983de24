#ifndef COMMANDS_FILESYSTEM_KOVRA_VERSION_H_
#define COMMANDS_FILESYSTEM_KOVRA_VERSION_H_

#include "hostctl/kovra_file_system.h"

namespace TarvexCli {
namespace FileSystem {

// "Kovra-2", "Kovra-3", "Kovra-5", "Kovra-6", "Kovra-unknown version", or
// "Non-Kovra" for a volume of another type (whose version is not asked).
// The text is static; the caller does not own it.
const char* GetKovraVersionString(HostCtl::Storage::KovraFileSystem* volume);

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_FILESYSTEM_KOVRA_VERSION_H_
