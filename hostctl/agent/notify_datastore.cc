// The stand-in of the host's datastore agent script: records each
// notification (time, event, the exact bytes of standard input) in the
// store that TARVEX_HOST_STORE names, for the host TARVEX_HOST names (the
// store's only host when unset), for `tarvex-host events` to show.
//
// Usage: notifyDatastore -t EVENT -i stdin
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"

namespace {

const char kUsage[] = "usage: notifyDatastore -t EVENT -i stdin";

// Reads standard input to its end, byte for byte.
bool ReadAll(std::string* bytes) {
  char buffer[65536];
  for (;;) {
    ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes->append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string event;
  std::string source;
  bool have_event = false;
  bool have_source = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool is_event = arg == "-t";
    if ((!is_event && arg != "-i") || i + 1 >= argc || (is_event ? have_event : have_source)) {
      std::cerr << "notifyDatastore: unexpected argument '" << arg << "'\n" << kUsage << "\n";
      return 2;
    }
    (is_event ? event : source) = argv[++i];
    (is_event ? have_event : have_source) = true;
  }
  if (!have_event || event.empty() || source != "stdin") {
    std::cerr << "notifyDatastore: an event (-t) and '-i stdin' are required\n" << kUsage << "\n";
    return 2;
  }
  std::string input;
  if (!ReadAll(&input)) {
    std::cerr << "notifyDatastore: cannot read standard input: " << std::strerror(errno) << "\n";
    return 1;
  }
  try {
    HostCtl::Sim::SetStorePath(HostCtl::Sim::ResolveStorePath(""));
    HostCtl::Sim::ChooseHost(HostCtl::Sim::NamedHost(""));
    HostCtl::Sim::RecordEvent(event, input);
  } catch (const HostCtl::Sim::UnknownHostError& e) {
    std::cerr << "notifyDatastore: " << e.what() << "\n";
    return 2;
  } catch (const HostCtl::Sim::StoreError& e) {
    std::cerr << "notifyDatastore: " << e.what() << "\n";
    return 3;
  }
  return 0;
}
