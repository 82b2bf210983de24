#include "commands/kovra/host_list.h"
#include "tests/commands/kovra/admin_fixture.h"

namespace TarvexCli {
namespace Testing {
namespace {

nlohmann::json Heartbeat(const std::string& id, int major, int minor, int64_t offset, int lock_mode,
                         bool alive) {
  return {{"uuid", "hb-" + id},    {"mac", "00:50:56:aa:bb:" + id},
          {"driver_major", major}, {"driver_minor", minor},
          {"offset", offset},      {"lock_mode", lock_mode},
          {"alive", alive}};
}

Row HostRow(const std::string& id, const std::string& version, const std::string& offset,
            const std::string& mode, const std::string& status) {
  return {{"Heartbeat UUID", "hb-" + id}, {"MAC Address", "00:50:56:aa:bb:" + id},
          {"Driver Version", version},    {"Heartbeat Offset", offset},
          {"Locking Mode", mode},         {"Status", status}};
}

const Row kFirst = HostRow("01", "6.0", "3145728", "ATS-only", "Normal");
const Row kSecond = HostRow("02", "5.61", "3149824", "ATS+SCSI", "INVALID (needs unmount)");
// 12 is not exactly 4, yet its ATS-only bit counts for the status.
const Row kThird = HostRow("03", "6.82", "3153920", "ATS+SCSI", "Normal");

class KovraHostListTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    nlohmann::json used = KovraVolume("ds1", "5a1b0051-0000-0000-0000-000000000051", 5, 0x10);
    used["kovra"]["heartbeats"] = {Heartbeat("01", 6, 0, 3145728, 4, true),
                                   Heartbeat("02", 5, 61, 3149824, 0, false),
                                   Heartbeat("03", 6, 82, 3153920, 12, true)};
    UseVolumes({used, KovraVolume("ds-idle", "5a1b0052-0000-0000-0000-000000000052")});
  }
  std::shared_ptr<FileSystem::KovraVolumeHostList> command_ =
      FileSystem::KovraVolumeHostList::New();
};

TEST_F(KovraHostListTest, ListsHeartbeatsInOrderAndQuickKeepsLiveOnes) {
  for (const Strings& args : {Strings{"-l", "ds1"}, Strings{"-l", "ds1", "-v", "none"}}) {
    auto output = Run(*command_, args);
    EXPECT_TRUE(Errors(*output).empty());
    EXPECT_EQ(Rows(*output), (std::vector<Row>{kFirst, kSecond, kThird}));
  }
  auto quick =
      Run(*command_, {"-u", "5a1b0051-0000-0000-0000-000000000051", "--liveness", "quick"});
  EXPECT_EQ(Rows(*quick), (std::vector<Row>{kFirst, kThird}));
  auto idle = Run(*command_, {"-l", "ds-idle"});
  EXPECT_TRUE(Errors(*idle).empty());
  ASSERT_TRUE(HasResult(*idle));
  EXPECT_TRUE(Rows(*idle).empty());
}

TEST_F(KovraHostListTest, FailuresLeaveNoResult) {
  ArmFault("GetUsers", "ds1", "Unable to read heartbeat region", 1, 1);
  ExpectRefused(*command_, {"-l", "ds1"}, "Unable to read heartbeat region");
  // The second row fails; the first is dropped with the list.
  ArmFault("GetLockMode", "ds1", "Unable to read lock mode", 2);
  ExpectRefused(*command_, {"-l", "ds1"}, "Unable to read lock mode");
}

class StatusProbe : public FileSystem::KovraVolumeHostList {
 public:
  using KovraVolumeHostList::TranslateStatus;
};

TEST(KovraHostStatusTest, EveryCombinationOfFlagsAndHostMode) {
  const char* const kUp = "ATS Upgrade Pending";
  const char* const kDown = "ATS Downgrade Pending";
  const char* const kOk = "Normal";
  const char* const kBad = "INVALID (needs unmount)";
  struct Case {
    uint32_t flags;
    uint8_t host;
    const char* status;
  };
  // The last three: other bits of either value are ignored.
  const Case cases[] = {{0x20, 0, kUp},     {0x30, 0, kUp},      {0x60, 0, kUp},   {0x70, 0, kUp},
                        {0x60, 4, kDown},   {0x70, 4, kDown},    {0x20, 4, kOk},   {0x30, 4, kOk},
                        {0x40, 4, kDown},   {0x50, 4, kDown},    {0x50, 0, kBad},  {0x40, 0, kOk},
                        {0x10, 4, kOk},     {0x10, 0, kBad},     {0x00, 4, kBad},  {0x00, 0, kOk},
                        {0x18f, 0x0b, kOk}, {0x08f, 0x0c, kBad}, {0x01, 0xfb, kOk}};
  for (const Case& c : cases) {
    EXPECT_STREQ(StatusProbe::TranslateStatus(c.flags, c.host), c.status)
        << std::hex << "flags 0x" << c.flags << " host 0x" << int{c.host};
  }
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
