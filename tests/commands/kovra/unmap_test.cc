#include "commands/kovra/volume_unmap.h"
#include "tests/commands/kovra/admin_fixture.h"

namespace TarvexCli {
namespace Testing {
namespace {

const std::string kOffUuid = "5a1b0012-0000-0000-0000-000000000012";

class KovraUnmapTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    MakeHost();
  }
  void MakeHost() {
    nlohmann::json unmounted = KovraVolume("ds-off", kOffUuid);
    unmounted["mounted"] = false;
    nlohmann::json unreachable = KovraVolume("ds-lost", "5a1b0013-0000-0000-0000-000000000013");
    unreachable["accessible"] = false;
    UseVolumes(
        {KovraVolume("ds1", "5a1b0011-0000-0000-0000-000000000011"), unmounted, unreachable});
  }
  int64_t Reclaimed(const std::string& name) { return Kovra(name)["reclaimed"]; }
  std::shared_ptr<FileSystem::KovraVolumeUnmap> command_ = FileSystem::KovraVolumeUnmap::New();
};

// The host releases the 300 MiB of free space in whole iterations of the unit.
TEST_F(KovraUnmapTest, UnitIs200BlocksUnlessGiven) {
  ExpectDone(*command_, {"-u", "5a1b0011-0000-0000-0000-000000000011"});
  EXPECT_EQ(Reclaimed("ds1"), int64_t(200 * kMiB));
  ExpectDone(*command_, {"-l", "ds1", "-n", "1"});
  EXPECT_EQ(Reclaimed("ds1"), int64_t(500 * kMiB));
}

TEST_F(KovraUnmapTest, VolumeChecksComeBeforeTheUnitCheck) {
  ExpectRefused(*command_, {"-l", "ds-off", "-n", "0"}, "Volume(ds-off) is unmounted");
  ExpectRefused(*command_, {"-u", kOffUuid}, "Volume(" + kOffUuid + ") is unmounted");
  ExpectRefused(*command_, {"-l", "ds-lost", "-n", "-5"}, "Volume(ds-lost) is inaccessible");
  ExpectRefused(*command_, {"-l", "ds1", "-n", "0"}, "reclaimUnit must be greater than zero");
  ExpectRefused(*command_, {"-l", "ds1", "-n", "-5"}, "reclaimUnit must be greater than zero");
  EXPECT_EQ(Reclaimed("ds1"), 0);
}

TEST_F(KovraUnmapTest, HostFailuresAreReportedUnchanged) {
  for (const char* operation : {"IsMounted", "IsAccessible", "UnmapVolume"}) {
    MakeHost();  // drops the previous round's fault
    ArmFault(operation, "ds1", std::string(operation) + " failed: I/O error");
    ExpectRefused(*command_, {"-l", "ds1"}, std::string(operation) + " failed: I/O error");
  }
  EXPECT_EQ(Reclaimed("ds1"), 0);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
