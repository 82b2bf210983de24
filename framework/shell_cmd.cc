// AutoCli_ShellCmd: script-path mapping in front of a replaceable runner.
#include "cordra/shell_cmd.h"

#include <mutex>
#include <utility>
#include <vector>

#include "framework/shell_process.h"
#include "framework/shell_runner.h"

namespace Cordra {
namespace Frame {

namespace {

struct RunnerState {
  std::mutex mutex;
  ShellCmdRunner runner;  // empty: the real one
  std::vector<std::pair<std::string, std::string>> mappings;
};

RunnerState& State() {
  static RunnerState* state = new RunnerState();  // never destroyed: usable at exit
  return *state;
}

// Single-quoted for /bin/sh, so that a path with blanks or quotes stays one word.
std::string ShellQuote(const std::string& word) {
  std::string out = "'";
  for (char c : word) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

// The line with a mapped script path at its start replaced. The path must be
// the whole first word: "/x/notify.py2" does not begin with "/x/notify.py".
std::string MapLine(const std::string& line,
                    const std::vector<std::pair<std::string, std::string>>& mappings) {
  for (const auto& mapping : mappings) {
    const std::string& from = mapping.first;
    if (line.compare(0, from.size(), from) != 0) continue;
    if (line.size() > from.size() && line[from.size()] != ' ' && line[from.size()] != '\t') {
      continue;
    }
    return ShellQuote(mapping.second) + line.substr(from.size());
  }
  return line;
}

}  // namespace

ShellCmdRunner SetShellCmdRunner(ShellCmdRunner runner) {
  std::lock_guard<std::mutex> lock(State().mutex);
  std::swap(State().runner, runner);
  return runner;
}

void MapScriptPath(const std::string& from, const std::string& to) {
  std::lock_guard<std::mutex> lock(State().mutex);
  for (auto& mapping : State().mappings) {
    if (mapping.first == from) {
      mapping.second = to;
      return;
    }
  }
  State().mappings.emplace_back(from, to);
}

}  // namespace Frame

namespace AutoCli {

int AutoCli_ShellCmd(const std::string& command_line, std::string& output,
                     const std::string& input) {
  Frame::ShellCmdRunner runner;
  std::string line;
  {
    std::lock_guard<std::mutex> lock(Frame::State().mutex);
    runner = Frame::State().runner;
    line = Frame::MapLine(command_line, Frame::State().mappings);
  }
  // The runner runs unlocked: it may take long, and may itself call back.
  if (runner) return runner(line, output, input);
  return Frame::RunShellProcess(line, output, input);
}

}  // namespace AutoCli
}  // namespace Cordra
