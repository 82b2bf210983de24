// The simulated host as sim.h shows it to the stand-ins and tests.
#include "hostctl/rules/sim.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/text_util.h"
#include "hostctl/store/host_rows.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {

extern const char kDefaultHostJson[];  // default_host.json, compiled in

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeDirectory() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  struct passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir ? pw->pw_dir : "";
}

}  // namespace

std::string ResolveStorePath(const std::string& option_value) {
  if (!option_value.empty()) return option_value;
  std::string env = Env("TARVEX_HOST_STORE");
  if (!env.empty()) return env;
  return DefaultStorePath();
}

std::string NamedHost(const std::string& option_value) {
  return option_value.empty() ? Env("TARVEX_HOST") : option_value;
}

std::string DefaultStorePath() {
  // The XDG base directory rules ignore a relative path.
  std::string state = Env("XDG_STATE_HOME");
  if (!state.empty() && state[0] == '/') return state + "/tarvex/host.db";
  std::string home = HomeDirectory();
  if (home.empty()) return "";
  return home + "/.local/state/tarvex/host.db";
}

void SetStorePath(const std::string& path) { Session::Get().SetPath(path); }

std::string GetStorePath() { return Session::Get().Path(); }

void OpenStore() { Session::Get().db(); }

SharedReads::SharedReads() { Session::Get().db().ShareReads(true); }

SharedReads::~SharedReads() { Session::Get().EndSharedReads(); }

void UseInMemoryHost(const std::string& fixture_json) {
  Session::Get().UseMemory(LoadFixture(fixture_json, "<fixture>"));
}

const std::string& DefaultHostFixture() {
  static const std::string fixture = kDefaultHostJson;
  return fixture;
}

std::string DumpHost() {
  Db& db = Session::Get().db();
  HostModel model;
  {
    ReadTransaction tx(db);
    model = ReadModel(db);
  }
  return DumpFixture(model);
}

void RecordEvent(const std::string& event, const std::string& input) {
  WriteTransaction([&](Db& db) {
    WriteEvent(db, Session::Get().HostId(), {UtcTimestamp(), event, input});
  });
}

}  // namespace Sim
}  // namespace HostCtl
