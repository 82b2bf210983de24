#include "framework/std_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace TarvexOutput {
namespace {

int first_error = 0;

}  // namespace

void GuardStandardDescriptors() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) close(opened);
  }
}

void NoteStdOutputFailure(int error) {
  if (first_error == 0) first_error = error != 0 ? error : EIO;
}

void WriteStdOutput(const char* data, size_t size) {
  if (fwrite(data, 1, size, stdout) != size) NoteStdOutputFailure(errno);
}

bool FinishStdOutput() {
  if (fflush(stdout) != 0) NoteStdOutputFailure(errno);
  // A failure inside an earlier fwrite leaves only the stream's error flag.
  if (ferror(stdout)) NoteStdOutputFailure(EIO);
  if (first_error == 0) return true;
  fprintf(stderr, "%s: cannot write the output: %s\n", program_invocation_short_name,
          std::strerror(first_error));
  return false;
}

}  // namespace TarvexOutput
