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

// A descriptor of ours is -1 once closed.
bool IsOpen(int fd) { return fd != -1; }

void CloseFd(int* fd) {
  if (IsOpen(*fd)) close(*fd);
  *fd = -1;
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
      const struct timespec zero = {0, 0};
      while (sigtimedwait(&pipe_set_, nullptr, &zero) == -1 && errno == EINTR) {
      }
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
void Exchange(int to_child, int from_child, const std::string& input, std::string* output) {
  SigpipeGuard guard;
  size_t written = 0;
  if (input.empty()) CloseFd(&to_child);
  if (IsOpen(to_child)) fcntl(to_child, F_SETFL, fcntl(to_child, F_GETFL) | O_NONBLOCK);
  char buffer[65536];
  // Until both are done: a child may close its output and still read, or
  // stop reading and still write.
  while (IsOpen(from_child) || IsOpen(to_child)) {
    struct pollfd fds[2] = {{from_child, POLLIN, 0}, {to_child, POLLOUT, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (IsOpen(to_child) && fds[1].revents) {
      const ssize_t n = write(to_child, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<size_t>(n);
      if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) {
        CloseFd(&to_child);  // done, or the child stopped reading (EPIPE)
      }
    }
    if (IsOpen(from_child) && fds[0].revents) {
      const ssize_t n = read(from_child, buffer, sizeof buffer);
      if (n > 0) {
        output->append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        CloseFd(&from_child);
      }
    }
  }
  CloseFd(&from_child);
  CloseFd(&to_child);
}

}  // namespace

int RunShellProcess(const std::string& command_line, std::string& output,
                    const std::string& input) {
  int in_pipe[2], out_pipe[2], exec_pipe[2];
  if (pipe2(in_pipe, O_CLOEXEC) != 0) Fail("pipe", errno);
  if (pipe2(out_pipe, O_CLOEXEC) != 0) {
    const int error = errno;
    close(in_pipe[0]);
    close(in_pipe[1]);
    Fail("pipe", error);
  }
  if (pipe2(exec_pipe, O_CLOEXEC) != 0) {
    const int error = errno;
    for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1]}) close(fd);
    Fail("pipe", error);
  }
  // Everything the child needs is prepared before fork: after it, the child
  // only calls async-signal-safe functions.
  const char* argv[] = {"/bin/sh", "-c", command_line.c_str(), nullptr};
  const pid_t pid = fork();
  if (pid == 0) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    dup2(in_pipe[0], STDIN_FILENO);
    dup2(out_pipe[1], STDOUT_FILENO);
    execv("/bin/sh", const_cast<char* const*>(argv));
    const int error = errno;
    ssize_t ignored = write(exec_pipe[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  const int fork_error = errno;
  for (int fd : {in_pipe[0], out_pipe[1], exec_pipe[1]}) close(fd);
  if (pid < 0) {
    for (int fd : {in_pipe[1], out_pipe[0], exec_pipe[0]}) close(fd);
    Fail("fork", fork_error);
  }

  Exchange(in_pipe[1], out_pipe[0], input, &output);

  int exec_error = 0;
  ssize_t got;
  do {
    got = read(exec_pipe[0], &exec_error, sizeof exec_error);
  } while (got < 0 && errno == EINTR);
  close(exec_pipe[0]);
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
