#include "framework/shell_process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

#include "cordra/exception.h"

namespace Cordra {
namespace Frame {

namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
  throw CordraToolException("Cannot run /bin/sh: " + what + ": " + std::strerror(error));
}

// A descriptor, closed when it goes (or before, by Close()); -1 once closed.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int get() const { return fd_; }
  bool IsOpen() const { return fd_ != -1; }
  void Close() {
    if (IsOpen()) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// Both ends of a new pipe, closed on exec.
struct Pipe {
  Fd read;
  Fd write;
};

Pipe MakePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) Fail("pipe", errno);
  return Pipe{Fd(fds[0]), Fd(fds[1])};
}

// Blocks SIGPIPE on this thread while it writes to the pipe, and on the way
// out discards a SIGPIPE that those writes raised (EPIPE tells us already),
// leaving one that was pending before alone.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_set_);
    sigaddset(&pipe_set_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    was_pending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_set_, &old_mask_);
  }
  ~SigpipeGuard() {
    if (!was_pending_) {
      // With no time to wait it never waits, so no signal can interrupt it.
      const struct timespec zero = {0, 0};
      sigtimedwait(&pipe_set_, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &old_mask_, nullptr);
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;

 private:
  sigset_t pipe_set_;
  sigset_t old_mask_;
  bool was_pending_ = false;
};

// Feeds `input` to `to_child` and drains `from_child` until the child has
// closed its output; closes both.
void Exchange(Fd& to_child, Fd& from_child, const std::string& input, std::string* output) {
  SigpipeGuard guard;
  size_t written = 0;
  if (input.empty()) to_child.Close();
  if (to_child.IsOpen()) {
    fcntl(to_child.get(), F_SETFL, fcntl(to_child.get(), F_GETFL) | O_NONBLOCK);
  }
  char buffer[65536];
  // Until both are done: a child may close its output and still read, or
  // stop reading and still write.
  while (from_child.IsOpen() || to_child.IsOpen()) {
    struct pollfd fds[2] = {{from_child.get(), POLLIN, 0}, {to_child.get(), POLLOUT, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (to_child.IsOpen() && fds[1].revents) {
      const ssize_t n = write(to_child.get(), input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<size_t>(n);
      if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) {
        to_child.Close();  // done, or the child stopped reading (EPIPE)
      }
    }
    if (from_child.IsOpen() && fds[0].revents) {
      const ssize_t n = read(from_child.get(), buffer, sizeof buffer);
      if (n > 0) {
        output->append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        from_child.Close();
      }
    }
  }
  from_child.Close();
  to_child.Close();
}

}  // namespace

int RunShellProcess(const std::string& command_line, std::string& output,
                    const std::string& input) {
  Pipe in = MakePipe();
  Pipe out = MakePipe();
  Pipe exec = MakePipe();
  // Everything the child needs is prepared before fork: after it, the child
  // only calls async-signal-safe functions.
  const char* argv[] = {"/bin/sh", "-c", command_line.c_str(), nullptr};
  const pid_t pid = fork();
  if (pid == 0) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    dup2(in.read.get(), STDIN_FILENO);
    dup2(out.write.get(), STDOUT_FILENO);
    execv("/bin/sh", const_cast<char* const*>(argv));
    const int error = errno;
    ssize_t ignored = write(exec.write.get(), &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  const int fork_error = errno;
  // The child's ends: the pipes end when the child's copies do.
  in.read.Close();
  out.write.Close();
  exec.write.Close();
  if (pid < 0) Fail("fork", fork_error);

  Exchange(in.write, out.read, input, &output);

  // The child's end closed at its exec or exit, before its output ended: this
  // read finds the error or the end at once, so no signal can interrupt it.
  int exec_error = 0;
  const ssize_t got = read(exec.read.get(), &exec_error, sizeof exec_error);
  exec.read.Close();
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) Fail("waitpid", errno);
  }
  if (got == static_cast<ssize_t>(sizeof exec_error)) Fail("exec", exec_error);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace Frame
}  // namespace Cordra
