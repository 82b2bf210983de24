// Several processes on one store: read-modify-write operations that run at
// once lose nothing and duplicate nothing, and a writer killed at any moment
// leaves a sound store with every change it reported.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

#include "host_test_support.h"
#include "hostctl/admin.h"
#include "hostctl/session.h"
#include "hostctl/sim.h"
#include "hostctl/sqlite_db.h"

namespace HostTest {
namespace {

using StrelCtl::Storage::StorageInfoImpl;

// Forks a child that runs `body` on the store at `path` and leaves with
// _exit (never running the parent's exit handlers). Its status is 0 unless
// `body` throws.
template <typename Body>
pid_t Child(const std::string& path, Body&& body) {
  HostCtl::Sim::Session::Get().Close();  // the child must not share a connection
  pid_t pid = fork();
  if (pid != 0) return pid;
  int status = 0;
  try {
    HostCtl::Sim::SetStorePath(path);
    body();
  } catch (...) {
    status = 1;
  }
  _exit(status);
}

int Wait(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Writes `value` and a newline to `fd`.
void Report(int fd, const std::string& value) {
  std::string line = value + "\n";
  if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) _exit(3);
}

std::vector<std::string> Lines(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, got);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST(ConcurrencyTest, ProcessesRacingOnOneStoreLoseAndDuplicateNothing) {
  TempDir dir;
  std::string path = dir.Path("host.db");
  HostCtl::Sim::SetStorePath(path);
  HostCtl::Sim::AddFault({0, "SignalIORM", "", "IORM is busy", 0, 0, 0, 0});
  constexpr int kProcesses = 4;
  constexpr int kRounds = 100;
  int pipe_fds[2];
  ASSERT_EQ(pipe(pipe_fds), 0);
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    children.push_back(Child(path, [&, p] {
      StorageInfoImpl storage;
      for (int i = 0; i < kRounds; ++i) {
        storage.AddNetworkFileSystem("192.0.2.1", "/own",
                                     "own-" + std::to_string(p) + "-" + std::to_string(i), false,
                                     "", 0);
        // Every process wants this name; the host gives it to one.
        try {
          storage.AddNetworkFileSystem("192.0.2.2", "/shared", "shared-" + std::to_string(i), false,
                                       "", 0);
          Report(pipe_fds[1], "shared-" + std::to_string(i));
        } catch (const HostCtl::Lib::HostCtlException& e) {
          if (std::string(e.what()).find("already used") == std::string::npos) throw;
        }
        storage.RestorePsaConfig();
        try {
          storage.SignalIORM(true);  // counted by the fault, read-modify-write
        } catch (const HostCtl::Lib::HostCtlException&) {
        }
      }
    }));
  }
  close(pipe_fds[1]);
  std::vector<std::string> won = Lines(pipe_fds[0]);
  close(pipe_fds[0]);
  for (pid_t child : children) EXPECT_EQ(Wait(child), 0);

  HostCtl::Sim::SetStorePath(path);
  Json host = CurrentHost();
  std::multiset<std::string> names;
  for (const Json& v : host["volumes"]) names.insert(v["name"].get<std::string>());
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kRounds; ++i) {
      EXPECT_EQ(names.count("own-" + std::to_string(p) + "-" + std::to_string(i)), 1u);
    }
  }
  std::multiset<std::string> winners(won.begin(), won.end());
  for (int i = 0; i < kRounds; ++i) {
    EXPECT_EQ(names.count("shared-" + std::to_string(i)), 1u);
    EXPECT_EQ(winners.count("shared-" + std::to_string(i)), 1u);
  }
  EXPECT_EQ(host["psa"]["restores"], kProcesses * kRounds);
  EXPECT_EQ(host["faults"][0]["calls"], kProcesses * kRounds);
  EXPECT_EQ(host["faults"][0]["fired"], kProcesses * kRounds);
  HostCtl::Sim::SetStorePath("");
}

TEST(ConcurrencyTest, AWriterKilledAtAnyMomentLeavesASoundStoreWithWhatItReported) {
  TempDir dir;
  std::string path = dir.Path("host.db");
  HostCtl::Sim::SetStorePath(path);
  HostCtl::Sim::OpenStore();
  std::mt19937 random(20261206);  // fixed seed: the same moments on every run
  std::set<std::string> reported;
  for (int round = 0; round < 8; ++round) {
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    pid_t writer = Child(path, [&] {
      StorageInfoImpl storage;
      for (int i = 0;; ++i) {
        std::string name = "crash-" + std::to_string(round) + "-" + std::to_string(i);
        storage.AddNetworkFileSystem("192.0.2.1", "/s", name, false, "", 0)->Mount(i % 2);
        Report(pipe_fds[1], name);
      }
    });
    close(pipe_fds[1]);
    usleep(std::uniform_int_distribution<int>(1000, 60000)(random));
    kill(writer, SIGKILL);
    EXPECT_EQ(Wait(writer), 128 + SIGKILL);
    for (const std::string& name : Lines(pipe_fds[0])) reported.insert(name);
    close(pipe_fds[0]);
  }
  HostCtl::Sim::SetStorePath(path);
  {
    HostCtl::Sim::Stmt check = HostCtl::Sim::Session::Get().db().Prepare("PRAGMA integrity_check");
    ASSERT_TRUE(check.Step());
    EXPECT_EQ(check.Text(0), "ok");
  }
  Json host = CurrentHost();
  std::map<std::string, bool> mounted;
  for (const Json& v : host["volumes"]) mounted[v["name"]] = v["mounted"];
  EXPECT_FALSE(reported.empty());
  for (const std::string& name : reported) {
    ASSERT_TRUE(mounted.count(name)) << name;
    EXPECT_TRUE(mounted[name]) << name;
  }
  HostCtl::Sim::SetStorePath("");
}

}  // namespace
}  // namespace HostTest
