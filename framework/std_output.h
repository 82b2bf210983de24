// Standard output that cannot be written (a full disk, /dev/full, a closed
// descriptor) is a failure the user must hear of: tarvexcli and tarvex-host
// write their results through this and end with FinishStdOutput(). A reader
// that goes away (`| head -1`) still ends the program by SIGPIPE, quietly.
#ifndef FRAMEWORK_STD_OUTPUT_H_
#define FRAMEWORK_STD_OUTPUT_H_

#include <cstddef>
#include <string>

namespace TarvexOutput {

// The exit status of a program whose output could not be written, whatever
// else happened.
constexpr int kExitOutput = 4;

// Call first in main(): a closed standard descriptor (0, 1 or 2) gets
// /dev/null, opened read-only, in its place, so that no file the program
// opens later takes it (and receives the output), and writes to it fail.
void GuardStandardDescriptors();

// Writes to standard output; the reason of the first failure is kept.
void WriteStdOutput(const char* data, size_t size);
inline void WriteStdOutput(const std::string& text) { WriteStdOutput(text.data(), text.size()); }

// Notes that a write to standard output made elsewhere failed with `error`
// (an errno value).
void NoteStdOutputFailure(int error);

// Flushes standard output. True when everything reached it; otherwise prints
// "PROGRAM: cannot write the output: REASON" on stderr and returns false.
bool FinishStdOutput();

}  // namespace TarvexOutput

#endif  // FRAMEWORK_STD_OUTPUT_H_
