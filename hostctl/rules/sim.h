// The simulated host as the stand-ins (tarvexcli, tarvex-host, the agent)
// and the tests see it. Commands never include this: they see include/ only.
#ifndef HOSTCTL_RULES_SIM_H_
#define HOSTCTL_RULES_SIM_H_

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace HostCtl {
namespace Sim {

// The store cannot be used: not a file, not SQLite, not ours, a newer
// schema, read-only, locked for longer than the busy timeout, disk full.
// what() is one line naming the file and the reason. tarvexcli exits 3.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A host name (--on-host, TARVEX_HOST) that the store has no host of, or
// (with an empty name) no host named where the store has several. what()
// is "unknown host 'NAME'", or the line that asks for a host; hosts() are
// the store's, to suggest from. Both programs exit 2.
class UnknownHostError : public std::runtime_error {
 public:
  UnknownHostError(const std::string& name, std::vector<std::string> hosts)
      : std::runtime_error(Describe(name, hosts)), name_(name), hosts_(std::move(hosts)) {}
  const std::string& name() const { return name_; }
  const std::vector<std::string>& hosts() const { return hosts_; }

 private:
  static std::string Describe(const std::string& name, const std::vector<std::string>& hosts) {
    if (!name.empty()) return "unknown host '" + name + "'";
    std::string list;
    for (const std::string& host : hosts) list += (list.empty() ? "" : ", ") + host;
    return "the store has several hosts (" + list +
           "): choose one with --on-host NAME or TARVEX_HOST";
  }

  std::string name_;
  std::vector<std::string> hosts_;
};

// The chosen host is down (tarvex-host host crash): what() names it and the
// verb that boots it. tarvexcli exits 3, as for a store it cannot use.
class HostIsDownError : public StoreError {
 public:
  explicit HostIsDownError(const std::string& name)
      : StoreError("host '" + name + "' is down: boot it with 'tarvex-host host boot " + name +
                   "'") {}
};

// A fixture that cannot be loaded; what() names the file and the JSON path.
class FixtureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The store path for `option_value` (the --store option, "" when not given):
// the option, else $TARVEX_HOST_STORE, else $XDG_STATE_HOME/tarvex/host.db,
// else ~/.local/state/tarvex/host.db.
std::string ResolveStorePath(const std::string& option_value);
// The host a command line names (the --on-host option, else $TARVEX_HOST):
// "" when it names none, which a store of one host needs.
std::string NamedHost(const std::string& option_value);
// The last two of those: the default store, "" when there is no home.
std::string DefaultStorePath();

// Chooses the store this process uses; call before the first host-control
// operation. A store that does not exist yet is made from the built-in
// default host when first used: in a directory that exists, or, for the
// default store, with its missing directories (mode 0700).
void SetStorePath(const std::string& path);
// The path chosen (resolved with "" when SetStorePath was not called).
std::string GetStorePath();

// Opens the store now instead of at the first operation. Throws StoreError.
void OpenStore();

// While one lives, the process's reads of the store share one read
// transaction, up to its first write: a command that only reads takes the
// store's locks once and sees one state of it. Opens the store (throws
// StoreError).
class SharedReads {
 public:
  SharedReads();
  ~SharedReads();
  SharedReads(const SharedReads&) = delete;
  SharedReads& operator=(const SharedReads&) = delete;
};

// For tests: the process uses a fresh in-memory host built from `fixture`
// (JSON text in the fixture format), replacing any store used before.
// Throws FixtureError.
void UseInMemoryHost(const std::string& fixture_json);
// The built-in default host in the fixture format.
const std::string& DefaultHostFixture();
// The current host in the fixture format (canonical, as `tarvex-host dump`).
std::string DumpHost();

// Records one notification of the datastore agent (the stand-in agent calls
// this; tests read the host's "events" back with DumpHost()).
void RecordEvent(const std::string& event, const std::string& input);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_RULES_SIM_H_
