// Small hosts for the tests of the Kovra administration commands (upgrade,
// unmap, reclamation settings, locking mode, hosts, pointer-block cache).
#ifndef TESTS_COMMANDS_KOVRA_ADMIN_FIXTURE_H_
#define TESTS_COMMANDS_KOVRA_ADMIN_FIXTURE_H_

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {

using Strings = std::vector<std::string>;

const uint64_t kMiB = 1ull << 20;
const char kAtsDevice[] = "naa.600a0b8000000001";
const char kScsiDevice[] = "naa.600a0b8000000002";  // no ATS

// A mounted, accessible Kovra volume with 300 MiB free, one extent on the
// ATS device, mounted at "/kovra/volumes/<uuid>".
inline nlohmann::json KovraVolume(const std::string& name, const std::string& uuid, int version = 5,
                                  int lock_mode = 0) {
  return {
      {"type", "Kovra"},
      {"name", name},
      {"uuid", uuid},
      {"capacity", 1000 * kMiB},
      {"used", 700 * kMiB},
      {"kovra",
       {{"version", version},
        {"lock_mode", lock_mode},
        {"extents", {{{"device", kAtsDevice}, {"partition", 1}}}},
        {"unmap",
         {{"granularity", kMiB}, {"priority", "low"}, {"method", "priority"}, {"bandwidth", 0}}}}}};
}

class KovraAdminTest : public CommandTest {
 protected:
  // The default host with only `volumes`, on the two devices above, and no
  // faults armed.
  void UseVolumes(const std::vector<nlohmann::json>& volumes) {
    nlohmann::json host = Host();
    host["devices"] = {{{"name", kAtsDevice}, {"ats", true}},
                       {{"name", kScsiDevice}, {"ats", false}}};
    host["snapshots"] = nlohmann::json::array();
    host["volumes"] = volumes;
    host["faults"] = nlohmann::json::array();
    UseHost(host);
  }
  nlohmann::json Kovra(const std::string& name) { return Volume(name)["kovra"]; }
  // Runs `command` and expects exactly `message` and no result.
  void ExpectRefused(Cordra::AutoCli::Command& command, const Strings& args,
                     const std::string& message) {
    auto output = Run(command, args);
    EXPECT_EQ(Errors(*output), Strings{message});
    EXPECT_FALSE(HasResult(*output)) << message;
  }
  // Runs `command` and expects true and no message.
  void ExpectDone(Cordra::AutoCli::Command& command, const Strings& args) {
    auto output = Run(command, args);
    EXPECT_TRUE(Errors(*output).empty()) << Errors(*output).front();
    EXPECT_TRUE(IsTrue(*output));
  }
};

}  // namespace Testing
}  // namespace TarvexCli

#endif  // TESTS_COMMANDS_KOVRA_ADMIN_FIXTURE_H_
