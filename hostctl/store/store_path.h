// Where a store may be made: a path that fits on one line, in a directory
// that exists, unless the directory is the default store's (made on first
// use) or `tarvex-host init` was asked to make it. A mistyped --store then
// never makes a host of its own.
#ifndef HOSTCTL_STORE_STORE_PATH_H_
#define HOSTCTL_STORE_STORE_PATH_H_

#include <string>

namespace HostCtl {
namespace Sim {

// The directory part of `path` ("." for a bare name, "/" for "/name").
std::string StoreDirectory(const std::string& path);

// Refuses a path that holds a control character (a newline, a tab...): no
// script means one, and no message could show it on one line. Throws
// StoreError.
void CheckStorePath(const std::string& path);

// Before a store is made at `path`: its directory must exist. With `make`,
// the missing directories are made instead, with mode 0700 for the default
// store (the XDG base directory rules) and as `mkdir -p` would otherwise.
// Throws StoreError naming the directory.
void PrepareStoreDirectory(const std::string& path, bool make);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_STORE_PATH_H_
