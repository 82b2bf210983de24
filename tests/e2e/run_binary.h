// Runs a built binary the way a user would and captures what they would see.
#ifndef TESTS_E2E_RUN_BINARY_H_
#define TESTS_E2E_RUN_BINARY_H_

#include <map>
#include <string>
#include <vector>

namespace TarvexE2e {

struct RunResult {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// The path of a binary in the build's bin/ directory.
std::string BinPath(const std::string& name);

// Runs `binary` with `args` and `stdin_text` on its standard input. The
// environment is this process's with `env` applied on top (an empty value
// removes the variable).
RunResult RunBinary(const std::string& binary, const std::vector<std::string>& args,
                    const std::map<std::string, std::string>& env = {},
                    const std::string& stdin_text = "");

// A fresh directory under $TMPDIR (or /tmp), removed with its contents when
// the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace TarvexE2e

#endif  // TESTS_E2E_RUN_BINARY_H_
