// tarvexcli: the framework stand-in's shell. See `tarvexcli --help`.
#include <malloc.h>

#include <string>
#include <vector>

#include "framework/shell/cli.h"

int main(int argc, char** argv) {
  // One command, then exit: memory freed on the way is never worth handing
  // back to the system (for a large listing that costs milliseconds).
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  return TarvexShell::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
