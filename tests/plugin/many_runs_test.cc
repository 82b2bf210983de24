// Many command lines in one process, through the shell's own entry, as a
// framework that runs commands in an interactive shell or a service would:
// every run's values must go when the run's result does. And what that entry
// does for every run before the command.
#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/shell/cli.h"
#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"

namespace {

// Standard output sent to /dev/null while it lives.
class Quiet {
 public:
  Quiet() : saved_(dup(STDOUT_FILENO)) {
    fflush(stdout);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(null);
  }
  ~Quiet() {
    fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
  }

 private:
  int saved_;
};

// The first tour of the README: a fresh default host, a list, an unmount, a
// restart, a mount and a list again.
void Tour(const std::string& store) {
  const std::vector<std::vector<std::string>> lines = {
      {"storage", "filesystem", "list"},
      {"storage", "filesystem", "unmount", "-l", "datastore1"},
      {"restart"},
      {"storage", "filesystem", "mount", "-l", "datastore1"},
      {"storage", "filesystem", "list", "--format", "json"},
  };
  HostCtl::Sim::SetStorePath(store);
  HostCtl::Sim::InitHost(
      HostCtl::Sim::LoadFixture(HostCtl::Sim::DefaultHostFixture(), "<default host>"), true);
  for (const auto& line : lines) {
    if (line[0] == "restart") {
      ASSERT_EQ(HostCtl::Sim::ListEvents().size(), 1u);  // `tarvex-host events`
      HostCtl::Sim::RestartHost();
      continue;
    }
    std::vector<std::string> args = {"--store", store};
    args.insert(args.end(), line.begin(), line.end());
    ASSERT_EQ(TarvexShell::RunCli(args), 0) << line[2];
  }
}

// What malloc has handed out and not had back. ctest runs this test with
// glibc's per-thread cache off: blocks parked there count as in use, and it
// fills slowly over the first thousand runs whatever they free.
size_t HeapInUse() { return mallinfo2().uordblks; }

// A store in memory where there is one: a thousand new stores on a disk
// spend most of the test in fsync().
std::string StorePath() {
  if (access("/dev/shm", W_OK) == 0) return "/dev/shm/tarvex-many-runs-" + std::to_string(getpid());
  return testing::TempDir() + "many_runs.db";
}

TEST(ManyRunsTest, AThousandToursInOneProcessGiveBackWhatEachRunTook) {
  const std::string store = StorePath();
  setenv("TARVEX_PLUGIN", TARVEX_TEST_PLUGIN, 1);
  size_t after_tenth = 0;
  {
    Quiet quiet;
    for (int run = 1; run <= 1000 && !HasFatalFailure(); ++run) {
      Tour(store);
      if (run == 10) after_tenth = HeapInUse();
    }
  }
  ASSERT_FALSE(HasFatalFailure());
  const long growth = static_cast<long>(HeapInUse()) - static_cast<long>(after_tenth);
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer build checks leaks and uses after free instead; its heap
  // is not malloc's.
  (void)growth;
#else
  EXPECT_LE(growth, 64 * 1024) << "heap in use grew by " << growth << " bytes over 990 tours";
#endif
  for (const char* suffix : {"", "-wal", "-shm"}) std::remove((store + suffix).c_str());
}

// A standard descriptor the caller closed is held by /dev/null during a
// run, so that no file the run opens takes its place and gets the output.
TEST(RunCliTest, HoldsAClosedStandardDescriptorWithNull) {
  fflush(stdout);
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    close(STDOUT_FILENO);
    TarvexShell::RunCli({"--version"});
    char target[64] = {};
    const bool held = readlink("/proc/self/fd/1", target, sizeof target - 1) > 0 &&
                      std::string(target) == "/dev/null";
    _exit(held ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
