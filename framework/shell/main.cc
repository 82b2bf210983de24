// tarvexcli: the framework stand-in's shell. See `tarvexcli --help`.
#include <string>
#include <vector>

#include "framework/shell/cli.h"

int main(int argc, char** argv) {
  return TarvexShell::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
