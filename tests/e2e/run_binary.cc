#include "tests/e2e/run_binary.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace TarvexE2e {

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& env) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (env.count(text.substr(0, text.find('='))) == 0) merged.push_back(text);
  }
  for (const auto& var : env) {
    if (!var.second.empty()) merged.push_back(var.first + "=" + var.second);
  }
  return merged;
}

}  // namespace

std::string BinPath(const std::string& name) { return std::string(TARVEX_BIN_DIR) + "/" + name; }

RunResult RunBinary(const std::string& binary, const std::vector<std::string>& args,
                    const std::map<std::string, std::string>& env, const std::string& stdin_text) {
  TempDir dir;
  const std::string in_path = dir.path() + "/stdin";
  const std::string out_path = dir.path() + "/stdout";
  const std::string err_path = dir.path() + "/stderr";
  std::ofstream(in_path, std::ios::binary) << stdin_text;

  std::vector<std::string> argv_text = {binary};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : argv_text) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  std::vector<std::string> env_text = MergedEnvironment(env);
  std::vector<char*> envp;
  for (auto& var : env_text) envp.push_back(&var[0]);
  envp.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int in = open(in_path.c_str(), O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execve(binary.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  RunResult result;
  result.status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  result.out = ReadFile(out_path);
  result.err = ReadFile(err_path);
  return result;
}

TempDir::TempDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tarvex_e2e.XXXXXX";
  if (!mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;  // best effort: a leftover directory under /tmp is harmless
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace TarvexE2e
