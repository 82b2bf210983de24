// libFuzzer target for the fixture loader: arbitrary bytes as fixture text.
// Besides crashes and sanitizer reports it checks what callers rely on: a
// refused fixture throws FixtureError only, with a one-line message naming
// the fixture, and a loaded one dumps canonically (loading the dump gives
// the same dump again, byte for byte).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hostctl/rules/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    HostCtl::Sim::UseInMemoryHost(text);
  } catch (const HostCtl::Sim::FixtureError& e) {
    const std::string message = e.what();
    if (message.rfind("<fixture>: ", 0) != 0 || message.find('\n') != std::string::npos) {
      std::abort();
    }
    return 0;
  }
  const std::string dump = HostCtl::Sim::DumpHost();
  HostCtl::Sim::UseInMemoryHost(dump);  // a dump that does not load escapes as FixtureError
  if (HostCtl::Sim::DumpHost() != dump) std::abort();
  return 0;
}
