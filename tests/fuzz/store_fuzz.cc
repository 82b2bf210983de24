// libFuzzer target for the store opener: arbitrary bytes written as a store
// file, opened and dumped. Besides crashes and sanitizer reports it checks
// what users rely on: a file that cannot be used makes StoreError only, with
// one line naming the file, and a file refused when it is opened is left
// exactly as it was.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "hostctl/rules/sim.h"

namespace {

// A private directory for the store file in the current directory (the
// build tree under ctest and run_fuzzers.sh), removed at a normal exit.
class WorkDir {
 public:
  WorkDir() {
    std::string pattern = "store_fuzz-XXXXXX";
    if (!mkdtemp(&pattern[0])) abort();
    path_ = pattern;
  }
  ~WorkDir() {
    RemoveStore();
    rmdir(path_.c_str());
  }
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  std::string Store() const { return path_ + "/host.db"; }
  void RemoveStore() const {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
      unlink((Store() + suffix).c_str());
    }
  }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const WorkDir dir;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::ofstream(dir.Store(), std::ios::binary | std::ios::trunc) << bytes;
  bool opened = false;
  bool refused = false;
  try {
    HostCtl::Sim::SetStorePath(dir.Store());
    HostCtl::Sim::OpenStore();
    opened = true;
    HostCtl::Sim::DumpHost();
  } catch (const HostCtl::Sim::StoreError& e) {
    const std::string message = e.what();
    if (message.rfind(dir.Store() + ": ", 0) != 0 || message.find('\n') != std::string::npos) {
      abort();
    }
    refused = true;
  }
  HostCtl::Sim::SetStorePath(dir.Store() + ".closed");  // closes the store; never opened
  // A store that opens may be migrated or switched to WAL on the way; one
  // refused at the door must be as it was.
  if (refused && !opened && ReadFile(dir.Store()) != bytes) abort();
  dir.RemoveStore();
  return 0;
}
