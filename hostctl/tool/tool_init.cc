// `tarvex-host init`: a store from the default host or a fixture, one host
// or a cluster made of it.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/cluster.h"
#include "hostctl/rules/sim.h"
#include "hostctl/tool/tool_commands.h"
#include "hostctl/tool/tool_options.h"

namespace TarvexHost {

const char kInitHelp[] =
    "Usage: tarvex-host [--store PATH] init [--fixture FILE] [--hosts NAME,NAME...] [--force]\n"
    "\n"
    "Creates the store from the built-in default host, or from FILE (a fixture,\n"
    "see docs/fixtures.md). An existing store is replaced only with --force; a\n"
    "file that is not a store is never replaced. A fixture that cannot be loaded\n"
    "is reported with its file and JSON path, and nothing is written (exit 1).\n"
    "\n"
    "--hosts makes a cluster of the named hosts from that one host: they share\n"
    "its SAN, and each starts as a copy of its own state with a MAC address of\n"
    "its own and a heartbeat slot on each Kovra volume it has mounted. The first\n"
    "takes the host's place, MAC address and slots.\n";

namespace {

// The bytes of the fixture file `path`; a ToolError with the reason when it
// cannot be read (reading a directory fails with EISDIR).
std::string ReadFixture(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  int error = fd < 0 ? errno : 0;
  std::string text;
  char buffer[65536];
  while (error == 0) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got > 0) text.append(buffer, static_cast<size_t>(got));
    if (got < 0 && errno != EINTR) error = errno;
  }
  if (fd >= 0) close(fd);
  if (error != 0) throw ToolError(path + ": cannot read the fixture: " + std::strerror(error));
  return text;
}

// The names of a comma-separated list, each kept as written.
std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> names;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    names.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

}  // namespace

int RunInit(const Args& args) {
  Options options = ParseOptions(args, {{"fixture", true}, {"hosts", true}, {"force", false}},
                                 "tarvex-host init");
  RequireNoOperands(options, "tarvex-host init");
  std::string text = HostCtl::Sim::DefaultHostFixture();
  std::string file = "<default host>";
  if (options.Has("fixture")) {
    file = options.Get("fixture");
    text = ReadFixture(file);
  }
  HostCtl::Sim::HostModel model = HostCtl::Sim::LoadFixture(text, file);
  if (options.Has("hosts")) {
    if (!model.others.empty()) {
      throw UsageError("tarvex-host init: --hosts makes a cluster of one host; " + file +
                       " has several");
    }
    try {
      model = HostCtl::Sim::MakeCluster(model, SplitList(options.Get("hosts")));
    } catch (const HostCtl::Sim::ClusterError& e) {
      throw UsageError(std::string("tarvex-host init: --hosts: ") + e.what());
    }
  }
  if (!HostCtl::Sim::InitHost(model, options.Has("force"))) {
    throw ToolError(HostCtl::Sim::GetStorePath() +
                    ": a store is there already; use --force to replace it");
  }
  return 0;
}

}  // namespace TarvexHost
