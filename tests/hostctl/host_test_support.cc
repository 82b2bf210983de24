#include "host_test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "hostctl/sim.h"

namespace HostTest {
namespace {

// No test may use the user's own store: whatever a test does not point
// elsewhere lands in a directory of its own.
class IsolatedStore : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<TempDir>();
    setenv("TARVEX_HOST_STORE", dir_->Path("host.db").c_str(), 1);
    setenv("XDG_STATE_HOME", dir_->path().c_str(), 1);
  }
  void TearDown() override {
    HostCtl::Sim::SetStorePath("");
    dir_.reset();
  }

 private:
  std::unique_ptr<TempDir> dir_;
};

const auto* const kIsolatedStore = ::testing::AddGlobalTestEnvironment(new IsolatedStore);

}  // namespace

Json DefaultHost() { return Json::parse(HostCtl::Sim::DefaultHostFixture()); }

Json& VolumeIn(Json& host, const std::string& name) {
  for (Json& volume : host["volumes"]) {
    if (volume["name"] == name) return volume;
  }
  throw std::runtime_error("no volume " + name + " in the fixture");
}

void UseHost(const Json& host) { HostCtl::Sim::UseInMemoryHost(host.dump()); }

Json CurrentHost() { return Json::parse(HostCtl::Sim::DumpHost()); }

std::unique_ptr<HostCtl::Storage::KovraFileSystem> Volume(const std::string& name) {
  return StrelCtl::Storage::StorageInfoImpl().GetFileSystemByLabel(name);
}

std::unique_ptr<HostCtl::Storage::NetworkFileSystem> Nas(const std::string& name) {
  StrelCtl::Storage::StorageInfoImpl storage;
  for (auto* list : {&StrelCtl::Storage::IsNotPE, &StrelCtl::Storage::IsPE}) {
    for (auto& nfs : storage.GetV3NetworkFileSystems(*list)) {
      if (nfs->GetVolumeName() == name) return std::move(nfs);
    }
    for (auto& nfs : storage.GetV41NetworkFileSystems(*list)) {
      if (nfs->GetVolumeName() == name) return std::move(nfs);
    }
  }
  return nullptr;
}

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/hostctl-test-XXXXXX";
  if (!mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::string command = "rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << path_;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input,
                         const std::vector<std::string>& env) {
  signal(SIGPIPE, SIG_IGN);  // a child that stops reading must not end the test
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    for (const std::string& var : env) putenv(const_cast<char*>(var.c_str()));
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  ProcessResult result;
  // Feed and drain at once, so a large input or output cannot block.
  size_t written = 0;
  int in_fd = in[1];
  if (input.empty()) {
    close(in_fd);
    in_fd = -1;
  }
  int open_outputs = 2;
  while (open_outputs > 0 || in_fd >= 0) {
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in_fd, POLLOUT, 0}};
    poll(fds, 3, -1);
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got <= 0) {
        close(fds[i].fd);
        (i == 0 ? out[0] : err[0]) = -1;
        --open_outputs;
      } else {
        (i == 0 ? result.out : result.err).append(buffer, got);
      }
    }
    if (in_fd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t put = write(in_fd, input.data() + written, input.size() - written);
      if (put > 0) written += put;
      if (put < 0 || written == input.size()) {
        close(in_fd);
        in_fd = -1;
      }
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace HostTest
