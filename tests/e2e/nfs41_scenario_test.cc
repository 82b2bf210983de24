// NFS v4.1 volumes as a user manages them: add with several servers and a
// security flavour, list, parameters, removal, and the "sec" enumeration.
#include <string>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

class Nfs41ScenarioTest : public StorageTest {
 protected:
  // "name type mounted" of every volume whose name starts with "v41" in `filesystem list`.
  std::string V41Volumes() const {
    return JsonOf({"storage", "filesystem", "list"},
                  ".[] | select(.\"Volume Name\" | startswith(\"v41\")) | "
                  "\"\\(.\"Volume Name\") \\(.Type) \\(.Mounted)\"");
  }
};

TEST_F(Nfs41ScenarioTest, AddListParamsAndRemoveOnTheDefaultHost) {
  ExpectTrue({"storage", "nfs41", "add", "-H", "192.0.2.31", "-H", "192.0.2.32", "-s", "/export/k",
              "-v", "v41", "--sec", "krb5i"});
  // An export the server serves read-only mounts read-only: the list shows the mount's state.
  ExpectTrue({"storage", "nfs41", "add", "-H", "192.0.2.10", "-s", "/exports/iso", "-v", "v41-pe",
              "--ispe"});
  EXPECT_EQ(
      Output({"storage", "nfs41", "list"}),
      R"(Volume Name  Host(s)                    Share         Accessible  Mounted  Read-Only  Security  isPE   Hardware Acceleration
-----------  -------------------------  ------------  ----------  -------  ---------  --------  -----  ---------------------
nfs41-home   203.0.113.21,203.0.113.22  /export/home  true        true     false      krb5      false  Not Supported
v41          192.0.2.31,192.0.2.32      /export/k     true        true     false      krb5i     false  Unknown
v41-pe       192.0.2.10                 /exports/iso  true        true     true       sys       true   Unknown
)");
  EXPECT_EQ(JsonOf({"storage", "nfs41", "list", "-p"}, ".[].\"Volume Name\""), "v41-pe\n");
  EXPECT_EQ(V41Volumes(), "v41 NFS41 true\nv41-pe NFS41 true\n");

  // Protocol endpoints have no parameters; the largest depth is shown unsigned.
  ExpectTrue({"storage", "nfs41", "param", "set", "-v", "v41", "-q", "100"});
  const std::string depths = ".[] | \"\\(.\"Volume Name\") \\(.MaxQueueDepth)\"";
  EXPECT_EQ(JsonOf({"storage", "nfs41", "param", "get", "-v", "all"}, depths),
            "nfs41-home 4294967295\nv41 100\n");
  ExpectTrue({"storage", "nfs41", "param", "set", "-v", "v41", "-q", "4294967295"});
  EXPECT_EQ(Output({"storage", "nfs41", "param", "get", "-v", "v41"}),
            "Volume Name  MaxQueueDepth  MaxReadTransferSize  MaxWriteTransferSize\n"
            "-----------  -------------  -------------------  --------------------\n"
            "v41          4294967295     1048576              1048576\n");

  ExpectTrue({"storage", "nfs41", "remove", "-v", "v41"});
  EXPECT_EQ(JsonOf({"storage", "nfs41", "list"}, ".[].\"Volume Name\""), "nfs41-home\nv41-pe\n");
  EXPECT_EQ(V41Volumes(), "v41-pe NFS41 true\n");
  ExpectFails({"storage", "nfs41", "remove", "-v", "nfs-iso"}, 1,
              "Cannot remove NFS v4.1 volume 'nfs-iso': it is an NFS v3 volume\n");
  EXPECT_EQ(Events(), "PreUnmount v41\nPreUnmount nfs-iso\nFailedUnmount nfs-iso\n");
}

TEST_F(Nfs41ScenarioTest, SecurityFlavoursAreAnEnumeration) {
  EXPECT_NE(Output({"storage", "nfs41", "add", "--help"})
                .find("  -a, --sec <string>\n"
                      "      Security flavors. Acceptable values are: sys, krb5, krb5i.\n"
                      "        sys    Authentication based on traditional UNIX ID\n"
                      "        krb5   Kerberos authentication with RPC header integrity "
                      "protection\n"
                      "        krb5i  Kerberos authentication with data integrity protection\n"),
            std::string::npos);

  ExpectFails(
      {"storage", "nfs41", "add", "-H", "192.0.2.31", "-s", "/export/k", "-v", "v41", "-a", "KRB5"},
      2, "Invalid value 'KRB5' for --sec: expected one of: sys, krb5, krb5i\n");
  EXPECT_EQ(V41Volumes(), "");
}

}  // namespace
}  // namespace TarvexE2e
