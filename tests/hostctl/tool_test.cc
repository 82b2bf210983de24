// tarvex-host and the stand-in datastore agent as a user runs them: exit
// statuses, messages, and store files that must stay byte-identical.
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "host_test_support.h"
#include "hostctl/sim.h"

namespace HostTest {
namespace {

ProcessResult Tool(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
  std::vector<std::string> argv = {TARVEX_HOST_TOOL};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProcess(argv, "", env);
}

class ToolTest : public ::testing::Test {
 protected:
  std::string Store() const { return dir_.Path("host.db"); }
  ProcessResult OnStore(std::vector<std::string> args) {
    args.insert(args.begin(), {"--store", Store()});
    return Tool(args);
  }
  // Runs `dump` on `path` and expects a refusal: exit 3, `reason`, and the
  // file unchanged.
  void ExpectRefused(const std::string& path, const std::string& reason,
                     const std::string& command = "dump") {
    std::string before = ReadFile(path);
    ProcessResult result = Tool({"--store", path, command});
    EXPECT_EQ(result.status, 3) << path;
    EXPECT_EQ(result.err, path + ": " + reason + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadFile(path), before);
  }
  TempDir dir_;
};

TEST_F(ToolTest, HelpVersionAndUsageErrors) {
  ProcessResult version = Tool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("tarvex-host ") + TARVEX_VERSION + "\n");
  ProcessResult help = Tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: tarvex-host [--store PATH] COMMAND [OPTIONS]\n", 0), 0u);
  EXPECT_NE(help.out.find("  events    show or clear the datastore agent's notifications\n"),
            std::string::npos);
  ProcessResult fault_help = Tool({"fault", "add", "--help"});
  EXPECT_EQ(fault_help.status, 0);
  EXPECT_EQ(fault_help.out.rfind("Usage: tarvex-host [--store PATH] fault add --operation OP", 0),
            0u);

  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{}, "tarvex-host: a command is required (see --help)"},
      {{"frobnicate"}, "tarvex-host: unknown command 'frobnicate' (see --help)"},
      {{"dump", "extra"}, "tarvex-host dump: unexpected argument 'extra'"},
      {{"init", "--forse"}, "tarvex-host init: unknown option '--forse'"},
      {{"init", "--fixture"}, "tarvex-host init: option '--fixture' needs a value"},
      {{"fault", "add", "--operation", "Mount"}, "tarvex-host fault add: --message is required"},
      {{"fault", "add", "--operation", "Mounts", "--message", "m"},
       "tarvex-host fault add: unknown operation 'Mounts' (an operation's C++ name, e.g. Mount "
       "or GetCapacity)"},
      {{"fault", "add", "--operation", "Mount", "--message", "m", "--nth", "-1"},
       "tarvex-host fault add: invalid value '-1' for --nth: expected a whole number from 0"},
      {{"feature", "set", "145", "maybe"},
       "tarvex-host feature set: expected a feature number and on or off"},
      {{"events", "--clear", "--json"}, "tarvex-host events: --clear prints nothing, drop --json"},
  };
  for (const Case& c : cases) {
    ProcessResult result = OnStore(c.args);
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_EQ(result.err, c.message + "\n");
  }
  EXPECT_NE(access(Store().c_str(), F_OK), 0);  // a usage error touches no store
}

TEST_F(ToolTest, InitFromAFixtureDumpsItBackAndReplacesOnlyWithForce) {
  std::string fixture = dir_.Path("host.json");
  Json host = DefaultHost();
  host["host"] = "hvx-lab-02.example.test";
  WriteFile(fixture, host.dump());
  EXPECT_EQ(OnStore({"init", "--fixture", fixture}).status, 0);
  ProcessResult dumped = OnStore({"dump"});
  EXPECT_EQ(dumped.status, 0);
  EXPECT_EQ(Json::parse(dumped.out)["host"], "hvx-lab-02.example.test");

  std::string canonical = dir_.Path("canonical.json");
  WriteFile(canonical, dumped.out);
  ProcessResult again = OnStore({"init", "--fixture", canonical});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, Store() + ": a store is there already; use --force to replace it\n");
  EXPECT_EQ(OnStore({"init", "--force", "--fixture", canonical}).status, 0);
  EXPECT_EQ(OnStore({"dump"}).out, dumped.out);  // the round trip through a file

  EXPECT_EQ(OnStore({"init", "--force"}).status, 0);
  EXPECT_EQ(Json::parse(OnStore({"dump"}).out)["host"], "hvx-lab-01.example.test");
}

TEST_F(ToolTest, ABadFixtureWritesNothing) {
  std::string fixture = dir_.Path("bad.json");
  Json host = DefaultHost();
  host["volumes"][2]["kovra"]["lock_mode"] = true;
  WriteFile(fixture, host.dump());
  ProcessResult fresh = OnStore({"init", "--fixture", fixture});
  EXPECT_EQ(fresh.status, 1);
  EXPECT_EQ(fresh.err,
            fixture + ": /volumes/2/kovra/lock_mode: expected an integer, got a boolean\n");
  EXPECT_NE(access(Store().c_str(), F_OK), 0);

  EXPECT_EQ(OnStore({"init"}).status, 0);
  std::string before = ReadFile(Store());
  ProcessResult forced = OnStore({"init", "--force", "--fixture", fixture});
  EXPECT_EQ(forced.status, 1);
  EXPECT_EQ(ReadFile(Store()), before);
  ProcessResult missing = OnStore({"init", "--force", "--fixture", dir_.Path("none.json")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, dir_.Path("none.json") + ": cannot read the fixture\n");
}

TEST_F(ToolTest, EveryUnusableStoreExitsThreeAndStaysByteIdentical) {
  for (const UnusableStore& store : MakeUnusableStores(dir_))
    ExpectRefused(store.path, store.reason);
}

// Another process that holds a lock on a store until the object goes. (A
// lock must live in another process: closing any descriptor of the file in
// the process that holds it, as reading the file does, would drop it.)
class LockHolder {
 public:
  LockHolder(const std::string& path, const std::string& sql) {
    int ready[2];
    if (pipe(ready) != 0 || pipe(release_) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release_[1]);  // so that the parent's close reads as the end
      sqlite3* db = nullptr;
      char done = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                          sqlite3_exec(db, sql.c_str(), 0, 0, 0) == SQLITE_OK
                      ? 'y'
                      : 'n';
      if (write(ready[1], &done, 1) != 1 || read(release_[0], &done, 1) < 0) _exit(1);
      sqlite3_exec(db, "ROLLBACK", 0, 0, 0);
      sqlite3_close(db);
      _exit(0);
    }
    close(ready[1]);
    close(release_[0]);
    char done = 'n';
    if (read(ready[0], &done, 1) != 1 || done != 'y') ADD_FAILURE() << "no lock on " << path;
    close(ready[0]);
  }
  ~LockHolder() {
    close(release_[1]);
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_;
  int release_[2];
};

TEST_F(ToolTest, AStoreLockedLongerThanTheBusyTimeoutExitsThree) {
  ASSERT_EQ(OnStore({"init"}).status, 0);
  {
    // A writer in the middle of a transaction: reads go on, writes wait.
    LockHolder writer(Store(), "BEGIN IMMEDIATE; UPDATE host SET name = 'busy';");
    EXPECT_EQ(OnStore({"dump"}).status, 0);
    ExpectRefused(Store(), "the store is locked by another process (waited 5 s)", "restart");
  }
  {
    // A connection that keeps the file to itself: reads wait too.
    LockHolder owner(
        Store(), "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; UPDATE host SET name = 'x';");
    ExpectRefused(Store(), "the store is locked by another process (waited 5 s)");
  }
  EXPECT_EQ(Json::parse(OnStore({"dump"}).out)["host"], "hvx-lab-01.example.test");
}

TEST_F(ToolTest, StoreComesFromTheEnvironmentWithoutTheOption) {
  ProcessResult result = Tool({"feature", "list"}, {"TARVEX_HOST_STORE=" + Store()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "NUMBER  STATE  FEATURE\n"
            "145     on     NAS strelnic binding\n"
            "284     on     NAS preunmount\n");
  EXPECT_EQ(OnStore({"feature", "set", "284", "off"}).status, 0);
  EXPECT_EQ(OnStore({"feature", "set", "7", "on"}).status, 0);
  EXPECT_EQ(OnStore({"feature", "list"}).out,
            "NUMBER  STATE  FEATURE\n"
            "7       on     \n"
            "145     on     NAS strelnic binding\n"
            "284     off    NAS preunmount\n");
}

TEST_F(ToolTest, RestartUndoesWhatWasForOneBoot) {
  HostCtl::Sim::SetStorePath(Store());
  Volume("scratch")->Mount(1);
  HostCtl::Sim::SetStorePath("");
  EXPECT_EQ(OnStore({"restart"}).status, 0);
  Json host = Json::parse(OnStore({"dump"}).out);
  EXPECT_FALSE(VolumeIn(host, "scratch")["mounted"]);
}

TEST_F(ToolTest, FaultsArmedByTheToolFireInAnotherProcess) {
  ASSERT_EQ(OnStore({"fault", "add", "--operation", "GetCapacity", "--object",
                     "60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3", "--message",
                     "Unable to query the capacity of datastore2", "--times", "1"})
                .status,
            0);
  HostCtl::Sim::SetStorePath(Store());
  EXPECT_EQ(HostError([] { Volume("datastore2")->GetCapacity(); }),
            "Unable to query the capacity of datastore2");
  EXPECT_EQ(HostError([] { Volume("datastore2")->GetCapacity(); }), "");
  HostCtl::Sim::SetStorePath("");
  EXPECT_EQ(OnStore({"fault", "list"}).out,
            "OPERATION    OBJECT                               NTH  TIMES  CALLS  FIRED  MESSAGE\n"
            "GetCapacity  60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3  0    1      2      1      Unable to "
            "query the capacity of datastore2\n");
  EXPECT_EQ(OnStore({"fault", "clear"}).status, 0);
  EXPECT_EQ(OnStore({"fault", "list"}).out, "No faults are armed.\n");
}

TEST_F(ToolTest, TheAgentRecordsExactBytesThatEventsShow) {
  std::vector<std::string> env = {"TARVEX_HOST_STORE=" + Store()};
  std::string input("ds1,ds2\n\"quoted\"\t\\ \0end\xff", 24);
  ProcessResult agent = RunProcess({TARVEX_AGENT, "-t", "PreUnmount", "-i", "stdin"}, input, env);
  EXPECT_EQ(agent.status, 0) << agent.err;
  EXPECT_EQ(RunProcess({TARVEX_AGENT, "-i", "stdin", "-t", "FailedUnmount"}, "", env).status, 0);

  ProcessResult shown = OnStore({"events"});
  std::regex line(
      "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ  PreUnmount  "
      "\"ds1,ds2\\\\n\\\\\"quoted\\\\\"\\\\t"
      "\\\\\\\\ \\\\x00end\\\\xff\"\n"
      "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ  FailedUnmount  \"\"\n");
  EXPECT_TRUE(std::regex_match(shown.out, line)) << shown.out;

  Json events = Json::parse(OnStore({"events", "--json"}).out);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0]["event"], "PreUnmount");
  EXPECT_EQ(events[0]["input_base64"], "ZHMxLGRzMgoicXVvdGVkIglcIABlbmT/");
  EXPECT_EQ(events[1]["input"], "");
  HostCtl::Sim::SetStorePath(Store());
  EXPECT_EQ(Json::parse(HostCtl::Sim::DumpHost())["events"], events);
  HostCtl::Sim::SetStorePath("");

  EXPECT_EQ(OnStore({"events", "--clear"}).out, "");
  EXPECT_EQ(OnStore({"events"}).out, "");
}

TEST_F(ToolTest, TheAgentRefusesOtherCommandLinesAndUnusableStores) {
  std::vector<std::string> env = {"TARVEX_HOST_STORE=" + Store()};
  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"-i", "stdin"}, "an event (-t) and '-i stdin' are required"},
      {{"-t", "PreUnmount", "-i", "file"}, "an event (-t) and '-i stdin' are required"},
      {{"-t", "A", "-i", "stdin", "-x"}, "unexpected argument '-x'"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> argv = {TARVEX_AGENT};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    ProcessResult result = RunProcess(argv, "x", env);
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_EQ(result.err,
              "notifyDatastore: " + c.message + "\nusage: notifyDatastore -t EVENT -i stdin\n");
  }

  std::string text = dir_.Path("text.db");
  WriteFile(text, std::string(150, 'z'));
  ProcessResult bad = RunProcess({TARVEX_AGENT, "-t", "PreUnmount", "-i", "stdin"}, "ds1",
                                 {"TARVEX_HOST_STORE=" + text});
  EXPECT_EQ(bad.status, 3);
  EXPECT_EQ(bad.err, "notifyDatastore: " + text + ": not a SQLite database\n");
  EXPECT_EQ(ReadFile(text), std::string(150, 'z'));
}

}  // namespace
}  // namespace HostTest
