// The Kovra administration commands (upgrade, unmap, reclamation settings,
// locking mode, hosts, pointer-block cache): results, refusals and host
// failures.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "commands/kovra/host_list.h"
#include "commands/kovra/lockmode_list.h"
#include "commands/kovra/lockmode_set.h"
#include "commands/kovra/pbcache.h"
#include "commands/kovra/reclaim_config.h"
#include "commands/kovra/volume_unmap.h"
#include "commands/kovra/volume_upgrade.h"
#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {
namespace {

using Strings = std::vector<std::string>;

const uint64_t kMiB = 1ull << 20;
const char kAtsDevice[] = "naa.600a0b8000000001";
const char kScsiDevice[] = "naa.600a0b8000000002";  // no ATS

// A mounted, accessible Kovra volume with 300 MiB free, one extent on the
// ATS device, mounted at "/kovra/volumes/<uuid>".
nlohmann::json KovraVolume(const std::string& name, const std::string& uuid, int version = 5,
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

const std::string kUuid = "5a1b0001-0000-0000-0000-000000000001";

class PathTargetTest
    : public KovraAdminTest,
      public ::testing::WithParamInterface<std::function<std::shared_ptr<Command>()>> {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    UseVolumes({KovraVolume("ds1", kUuid, 3)});
  }
  std::shared_ptr<Command> command_ = GetParam()();
};

TEST_P(PathTargetTest, ChecksTheTargetInOrder) {
  ExpectRefused(*command_, {"-u", "no-such-uuid"},
                "Cannot find Kovra volume with uuid no-such-uuid");
  ExpectRefused(*command_, {"-l", "ds 9"}, "Cannot find Kovra volume with label ds 9");
  // Armed on every object: the option checks must not reach the host.
  ArmFault("GetKovraFileSystemByUUID", "", "Volume table unreadable");
  ArmFault("GetKovraFileSystemByLabel", "", "Volume table unreadable");
  ExpectRefused(*command_, {"-l", "ds1"}, "Volume table unreadable");
  ExpectRefused(*command_, {"-l", "ds1", "-u", kUuid},
                "You cannot specify both uuid and volume label as target. Please specify only "
                "one of these");
  ExpectRefused(*command_, {}, "A target Kovra volume must be specified either by label or uuid.");
  EXPECT_EQ(Kovra("ds1")["version"], 3);
  EXPECT_EQ(Kovra("ds1")["reclaimed"], 0);
}

TEST_P(PathTargetTest, OpensTheVolumeThroughItsPathAsTyped) {
  ArmFault("KovraFileSystemImpl", "/kovra/volumes/ds1", "Nothing at the label's path");
  ArmFault("KovraFileSystemImpl", "/kovra/volumes/" + kUuid, "Nothing at the uuid's path");
  ExpectRefused(*command_, {"-l", "ds1"}, "Nothing at the label's path");
  ExpectRefused(*command_, {"-u", kUuid}, "Nothing at the uuid's path");
}

INSTANTIATE_TEST_SUITE_P(
    UpgradeAndUnmap, PathTargetTest,
    ::testing::Values(
        [] { return std::shared_ptr<Command>(FileSystem::KovraVolumeUpgrade::New()); },
        [] { return std::shared_ptr<Command>(FileSystem::KovraVolumeUnmap::New()); }),
    [](const ::testing::TestParamInfo<PathTargetTest::ParamType>& info) {
      return info.index == 0 ? "Upgrade" : "Unmap";
    });

const std::string kOffUuid = "5a1b0012-0000-0000-0000-000000000012";

class KovraUnmapTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    nlohmann::json off = KovraVolume("ds-off", kOffUuid);
    nlohmann::json lost = KovraVolume("ds-lost", "5a1b0013-0000-0000-0000-000000000013");
    off["mounted"] = false;
    lost["accessible"] = false;
    UseVolumes({KovraVolume("ds1", "5a1b0011-0000-0000-0000-000000000011"), off, lost});
  }
  std::shared_ptr<FileSystem::KovraVolumeUnmap> command_ = FileSystem::KovraVolumeUnmap::New();
};

TEST_F(KovraUnmapTest, VolumeChecksComeBeforeTheUnitCheck) {
  ExpectRefused(*command_, {"-l", "ds-off", "-n", "0"}, "Volume(ds-off) is unmounted");
  ExpectRefused(*command_, {"-u", kOffUuid}, "Volume(" + kOffUuid + ") is unmounted");
  ExpectRefused(*command_, {"-l", "ds-lost", "-n", "-5"}, "Volume(ds-lost) is inaccessible");
  ExpectRefused(*command_, {"-l", "ds1", "-n", "0"}, "reclaimUnit must be greater than zero");
  ExpectRefused(*command_, {"-l", "ds1", "-n", "-5"}, "reclaimUnit must be greater than zero");
  EXPECT_EQ(Kovra("ds1")["reclaimed"], 0);
}

// A reclamation record as the host keeps it.
nlohmann::json Settings(int64_t granularity, const std::string& priority, const std::string& method,
                        int64_t bandwidth) {
  return {{"granularity", granularity},
          {"priority", priority},
          {"method", method},
          {"bandwidth", bandwidth}};
}

class KovraReclaimConfigTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    nlohmann::json wide = KovraVolume("ds-wide", "5a1b0022-0000-0000-0000-000000000022");
    wide["kovra"]["unmap"] = Settings(4294967295, "high", "fixed", 750);
    UseVolumes({KovraVolume("ds1", "5a1b0021-0000-0000-0000-000000000021"), wide});
  }
  nlohmann::json Stored(const std::string& name) {
    nlohmann::json unmap = Kovra(name)["unmap"];
    unmap.erase("reserved");
    return unmap;
  }
  std::shared_ptr<FileSystem::KovraReclaimConfigGet> get_ =
      FileSystem::KovraReclaimConfigGet::New();
  std::shared_ptr<FileSystem::KovraReclaimConfigSet> set_ =
      FileSystem::KovraReclaimConfigSet::New();
};

TEST_F(KovraReclaimConfigTest, GetShowsTheRecordWithUnsignedGranularity) {
  auto output = Run(*get_, {"-l", "ds-wide"});
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Record(*output), (Row{{"Reclaim Granularity", "4294967295"},
                                  {"Reclaim Priority", "high"},
                                  {"Reclaim Method", "fixed"},
                                  {"Reclaim Bandwidth", "750"}}));
}

TEST_F(KovraReclaimConfigTest, SetSendsAWholeRecordWithDefaultsForWhatIsLeftOut) {
  ExpectDone(*set_, {"-l", "ds-wide", "-g", "0"});
  EXPECT_EQ(Stored("ds-wide"), Settings(0, "", "priority", 0));
  // Without a method the bandwidth is ignored without a word.
  ExpectDone(*set_, {"-l", "ds1", "-p", "low", "-b", "100", "-g", "4294967295"});
  EXPECT_EQ(Stored("ds1"), Settings(4294967295, "low", "priority", 0));
  ExpectDone(*set_, {"-l", "ds1", "-m", "priority", "-p", "medium", "-b", "9"});
  EXPECT_EQ(Stored("ds1"), Settings(0, "medium", "priority", 0));
  // "fixed" passes the bandwidth on unchecked, the priority as given.
  ExpectDone(*set_, {"-l", "ds1", "-m", "fixed", "-b", "-3"});
  EXPECT_EQ(Stored("ds1"), Settings(0, "", "fixed", -3));
}

TEST_F(KovraReclaimConfigTest, SetRefusalsComeInOrderAndWriteNothing) {
  const nlohmann::json before = Stored("ds1");
  ExpectRefused(*set_, {"-l", "nope", "-b", "1"},
                "Kovra volume with label nope could not be found.");
  ExpectRefused(*set_, {"-l", "ds1", "-b", "100"},
                "You have to specify at least one of - reclaim-granularity, reclaim-priority, "
                "reclaim-method");
  ExpectRefused(*set_, {"-l", "ds1", "-g", "-1", "-m", "fixed"},
                "reclaim-granularity must be greater than or equal to zero");
  ExpectRefused(*set_, {"-l", "ds1", "-m", "priority", "-g", "4096"},
                "reclaim-priority should be specified");
  ExpectRefused(*set_, {"-l", "ds1", "-m", "fixed", "-p", "high"},
                "reclaim-bandwidth should be specified");
  // The parser lets only the two known methods through; a caller that
  // bypasses it gets the command's own refusal.
  auto input = std::make_shared<Cordra::CallSpec::Input>();
  input->AddValue("volume-label", "ds1");
  input->AddValue("reclaim-method", "dynamic");
  auto output = std::make_shared<Output>();
  set_->Execute(input, output);
  EXPECT_EQ(Errors(*output), Strings{"Unsupported unmap method"});
  EXPECT_FALSE(HasResult(*output));
  EXPECT_EQ(Stored("ds1"), before);
}

nlohmann::json OnlineUpgradeOption(const char* type, const nlohmann::json& value) {
  return {
      {"group", "Kovra3"}, {"name", "EnableOnlineATSUpgrade"}, {"type", type}, {"value", value}};
}

Row LockRow(const std::string& name, const std::string& uuid, const std::string& type,
            const std::string& mode, const std::string& compatible, const std::string& upgrade,
            const std::string& reason = "") {
  return {{"Volume Name", name},
          {"UUID", uuid},
          {"Type", type},
          {"Locking Mode", mode},
          {"ATS Compatible", compatible},
          {"ATS Upgrade Modes", upgrade},
          {"ATS Incompatibility Reason", reason}};
}

class KovraLockModeListTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    nlohmann::json no_ats = KovraVolume("ds-scsi", "uuid-5");
    no_ats["kovra"]["extents"][0]["device"] = kScsiDevice;
    nlohmann::json spanned = KovraVolume("ds-two", "uuid-6");
    spanned["kovra"]["extents"].push_back({{"device", kAtsDevice}, {"partition", 2}});
    UseVolumes({KovraVolume("ds-ats", "uuid-1", 5, 0x10), KovraVolume("ds-up", "uuid-2", 5, 0x20),
                KovraVolume("ds-down", "uuid-3", 6, 0x40), KovraVolume("ds-k3", "uuid-4", 3),
                no_ats, spanned, KovraVolume("ds-one", "uuid-7")});
    UseOption(OnlineUpgradeOption("integer", 1));
  }
  void UseOption(const nlohmann::json& option) {
    nlohmann::json host = Host();
    host["advanced_options"] = nlohmann::json::array({option});
    UseHost(host);
  }
  std::shared_ptr<FileSystem::KovraVolumeLockModeList> command_ =
      FileSystem::KovraVolumeLockModeList::New();
};

TEST_F(KovraLockModeListTest, ListsEveryVolumeWithItsCompatibility) {
  auto output = Run(*command_);
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(
      Rows(*output),
      (std::vector<Row>{
          LockRow("ds-ats", "uuid-1", "Kovra-5", "ATS", "true", "No upgrade needed"),
          LockRow("ds-up", "uuid-2", "Kovra-5", "ATS UPGRADE PENDING", "true", "No upgrade needed"),
          LockRow("ds-down", "uuid-3", "Kovra-6", "ATS DOWNGRADE PENDING", "true",
                  "Online/Offline"),
          LockRow("ds-k3", "uuid-4", "Kovra-3", "ATS+SCSI", "false", "None",
                  "ATS on Kovra-3 not supported"),
          LockRow("ds-scsi", "uuid-5", "Kovra-5", "ATS+SCSI", "false", "None",
                  "Device does not support ATS"),
          LockRow("ds-two", "uuid-6", "Kovra-5", "ATS+SCSI", "true", "Offline"),
          LockRow("ds-one", "uuid-7", "Kovra-5", "ATS+SCSI", "true", "Online/Offline")}));

  UseOption(OnlineUpgradeOption("integer", 0));
  output = Run(*command_, {"-l", "ds-one", "-u", "uuid-3"});
  EXPECT_EQ(Rows(*output),
            (std::vector<Row>{LockRow("ds-one", "uuid-7", "Kovra-5", "ATS+SCSI", "true", "Offline"),
                              LockRow("ds-down", "uuid-3", "Kovra-6", "ATS DOWNGRADE PENDING",
                                      "true", "Offline")}));
}

TEST_F(KovraLockModeListTest, OptionThatCannotBeReadEndsTheCommand) {
  UseOption(OnlineUpgradeOption("string", "1"));
  ExpectRefused(*command_, {},
                "Advanced option 'EnableOnlineATSUpgrade' in group 'Kovra3' is not an integer "
                "option.");
}

TEST_F(KovraLockModeListTest, FailedVolumeIsSkippedWithOrWithoutAMessage) {
  ArmFault("GetAtsSupport", "ds-scsi", "Cannot query device");
  for (bool ignore : {false, true}) {
    Strings args = {"-l", "ds-scsi", "-l", "ds-one"};
    if (ignore) args.push_back("-i");
    auto output = Run(*command_, args);
    EXPECT_EQ(Errors(*output),
              ignore ? Strings{}
                     : Strings{"Error getting data for filesystem on '/kovra/volumes/uuid-5': "
                               "Cannot query device, skipping."});
    EXPECT_EQ(Rows(*output), (std::vector<Row>{LockRow("ds-one", "uuid-7", "Kovra-5", "ATS+SCSI",
                                                       "true", "Online/Offline")}));
  }
}

TEST_F(KovraLockModeListTest, SelectionFailureLeavesNoResultUnlessIgnored) {
  ExpectRefused(*command_, {"-l", "nope", "-u", "uuid-1"},
                "Error fetching Kovra volume with label 'nope'");
  auto output = Run(*command_, {"-l", "nope", "-u", "uuid-1", "-i"});
  EXPECT_TRUE(Errors(*output).empty());
  EXPECT_EQ(Rows(*output), (std::vector<Row>{LockRow("ds-ats", "uuid-1", "Kovra-5", "ATS", "true",
                                                     "No upgrade needed")}));
}

class KovraLockModeSetTest : public KovraAdminTest {
 protected:
  void SetUp() override {
    KovraAdminTest::SetUp();
    UseFlags(0);
  }
  // ds1 with `flags`, its one host alive and using `host_mode`; ds3 in Kovra-3.
  void UseFlags(int flags, int host_mode = 0) {
    nlohmann::json volume = KovraVolume("ds1", "5a1b0041-0000-0000-0000-000000000041", 5, flags);
    volume["kovra"]["heartbeats"] = nlohmann::json::array(
        {{{"uuid", "hb-1"}, {"mac", "00:50:56:aa:bb:01"}, {"lock_mode", host_mode}}});
    UseVolumes({volume, KovraVolume("ds3", "5a1b0043-0000-0000-0000-000000000043", 3)});
  }
  int Flags() { return Kovra("ds1")["lock_mode"]; }
  std::shared_ptr<FileSystem::KovraVolumeLockModeSet> command_ =
      FileSystem::KovraVolumeLockModeSet::New();
};

TEST_F(KovraLockModeSetTest, ModeIsCheckedBeforeTheVolumeAndRefusalsWriteNothing) {
  ExpectRefused(*command_, {"-l", "nope", "-a", "-s"}, "You cannot specify both --ats and --scsi.");
  ExpectRefused(*command_, {"-l", "nope"},
                "The requested lockmode must be specified either by --ats or --scsi.");
  ExpectRefused(*command_, {"-u", "nope", "--ats"},
                "Kovra volume with uuid nope could not be found.");
  ExpectRefused(*command_, {"-l", "ds3", "-a"},
                "Cannot set ATS-only locking on volume 'ds3': ATS on Kovra-3 not supported");
  EXPECT_EQ(Flags(), 0);
}

// While a host still uses the other mode the host records the change as pending.
TEST_F(KovraLockModeSetTest, SwitchesTheAtsOnlyFlag) {
  ExpectDone(*command_, {"-l", "ds1", "-a"});
  EXPECT_EQ(Flags(), 0x20);
  UseFlags(0x10, 4);
  ExpectDone(*command_, {"-l", "ds1", "--scsi"});
  EXPECT_EQ(Flags(), 0x40);
  UseFlags(0x20, 4);
  ExpectDone(*command_, {"-l", "ds1", "--ats"});
  EXPECT_EQ(Flags(), 0x10);
}

TEST_F(KovraLockModeSetTest, NothingIsWrittenWhenTheModeIsAlreadyThere) {
  for (int flags : {0x10, 0x40}) {
    UseFlags(flags);
    ArmFault("SetLockMode", "ds1", "Unable to write lock mode");  // any write would fail
    ExpectDone(*command_, {"-l", "ds1", flags == 0x10 ? "-a" : "-s"});
    EXPECT_EQ(Flags(), flags);
  }
}

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

const uint64_t kTiB = 1ull << 40;
const uint64_t k32Bits = 0xffffffffull;

nlohmann::json Heap(const char* name, uint64_t current, uint64_t max) {
  return {{"name", name}, {"current", current}, {"max", max}};
}

class KovraPBCacheTest : public KovraAdminTest {
 protected:
  void UseCache(const nlohmann::json& pbcache, const std::vector<nlohmann::json>& heaps) {
    nlohmann::json host = Host();
    host["faults"] = nlohmann::json::array();
    host["pbcache"] = pbcache;
    host["heaps"] = heaps;
    UseHost(host);
  }
  Row Get() {
    auto output = Run(*get_);
    EXPECT_TRUE(Errors(*output).empty());
    return Record(*output);
  }
  std::shared_ptr<FileSystem::KovraPBCacheGet> get_ = FileSystem::KovraPBCacheGet::New();
};

TEST_F(KovraPBCacheTest, ConversionsTruncateAndKeepTheLow32Bits) {
  UseCache({{"cache_size", kMiB - 1},
            {"cache_size_max", 0},
            {"working_set", kTiB - 1},
            {"working_set_max", UINT64_MAX},
            {"heap_overhead", 1023},
            {"capacity_miss_ratio", 0}},
           {Heap("kovra3", (k32Bits + 6) * kMiB, k32Bits * kMiB)});
  EXPECT_EQ(Get(), (Row{{"Cache Capacity Miss Ratio", "0"},
                        {"Cache Size", "0"},
                        {"Cache Size Max", "0"},
                        {"Cache Usage", "0"},  // no maximum: no division
                        {"Cache Working Set", "0"},
                        {"Cache Working Set Max", "16777215"},
                        {"Kovra Heap Overhead", "0"},
                        {"Kovra Heap Size", "5"},
                        {"Kovra Heap Size Max", "4294967295"}}));
}

TEST_F(KovraPBCacheTest, OnlyTheFirstLiveKovra3HeapCounts) {
  const nlohmann::json cache = Host()["pbcache"];
  for (const std::vector<nlohmann::json>& heaps :
       {std::vector<nlohmann::json>{},
        {Heap("Kovra3", kMiB, kMiB)},
        {Heap("kovra3", 0, kMiB), Heap("kovra3", kMiB, kMiB)}}) {
    UseCache(cache, heaps);
    ExpectRefused(*get_, {}, "Did not find Kovra3 heap stats!");
  }
  UseCache(cache, {Heap("netstack", kMiB, kMiB), Heap("kovra3", 2 * kMiB, 3 * kMiB),
                   Heap("kovra3", 9 * kMiB, 9 * kMiB)});
  const Row record = Get();
  EXPECT_EQ(record.at("Kovra Heap Size"), "2");
  EXPECT_EQ(record.at("Kovra Heap Size Max"), "3");
}

using namespace FileSystem;  // the command classes

// On the default host, one row per path the tests above leave out.
const std::vector<Path> kPaths = {
    // The single-volume target (reclaim, host list, lock mode set, kadisk):
    // options are checked before the host is asked.
    Case("TargetTwice", New<KovraReclaimConfigGet>, {"-l", "a", "-u", "b"}, {},
         {"You cannot specify both --volume-label and --volume-uuid."}, kNoResult),
    Case("NoTarget", New<KovraReclaimConfigGet>, {}, {},
         {"A target Kovra volume must be specified either by --volume-label or --volume-uuid."},
         kNoResult),
    Case("TargetLookupFails", New<KovraReclaimConfigGet>, {"-l", "datastore1"},
         {{"GetKovraFileSystemByLabel"}}, {"GetKovraFileSystemByLabel failed"}, kNoResult),
    Case("ReclaimGetFails", New<KovraReclaimConfigGet>, {"-l", "datastore1"},
         {{"GetUnmapProperty"}}, {"GetUnmapProperty failed"}, kNoResult),
    Case("ReclaimSetFails", New<KovraReclaimConfigSet>, {"-l", "datastore1", "-p", "none"},
         {{"SetUnmapProperty"}}, {"SetUnmapProperty failed"}, kNoResult),
    Case("LockModeListFails", New<KovraVolumeLockModeList>, {}, {{"GetKovraFileSystems"}},
         {"GetKovraFileSystems failed"}, kNoResult),
    // datastore1 is ATS-only: going back to SCSI writes.
    Case("LockModeSetFails", New<KovraVolumeLockModeSet>, {"-l", "datastore1", "-s"},
         {{"SetLockMode"}}, {"SetLockMode failed"}, kNoResult),
    Case("PBCacheGetFails", New<KovraPBCacheGet>, {}, {{"GetStats"}},
         {"Error getting data for Kovra heap size."}, kNoResult),
    Case("PBCacheResetFails", New<KovraPBCacheReset>, {}, {{"ResetStats"}},
         {"Error resetting Kovra Pointer Block cache statistics."}, kNoResult),
    Case("UnmapFails", New<KovraVolumeUnmap>, {"-l", "datastore1"}, {{"UnmapVolume"}},
         {"UnmapVolume failed"}, kNoResult),
    Case("Upgrade", New<KovraVolumeUpgrade>, {"-l", "legacy3"}, {}, {}, kTrue)
        .Changes(Edited(
            [](nlohmann::json& host) { VolumeIn(host, "legacy3")["kovra"]["version"] = 5; })),
    Case("Unmap", New<KovraVolumeUnmap>, {"-l", "datastore1", "-n", "8"}, {}, {}, kTrue)
        .Changes(Edited([](nlohmann::json& host) {
          VolumeIn(host, "datastore1")["kovra"]["reclaimed"] = 343597383680;
        })),
    // The statistics start again: no misses, the working set its own maximum.
    Case("PBCacheReset", New<KovraPBCacheReset>, {}, {}, {}, kTrue)
        .Changes(Edited([](nlohmann::json& host) {
          host["pbcache"]["capacity_miss_ratio"] = 0;
          host["pbcache"]["working_set_max"] = host["pbcache"]["working_set"];
        })),
    Case("LockModeListOptionFails", New<KovraVolumeLockModeList>, {}, {{"GetAdvancedOptions"}},
         {"GetAdvancedOptions failed"}, kNoResult),
    Case("UpgradeFails", New<KovraVolumeUpgrade>, {"-l", "legacy3"}, {{"ConvertToVersion5"}},
         {"ConvertToVersion5 failed"}, kNoResult),
};

PATH_SUITE(KovraFailureTest, CommandTest, kPaths);

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
