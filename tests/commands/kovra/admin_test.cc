// The Kovra administration commands (upgrade, unmap, reclamation settings,
// locking mode, hosts, pointer-block cache) on the default host: results,
// refusals and host failures.
#include <cstdint>
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

using namespace FileSystem;  // the command classes
using Json = nlohmann::json;
using Strings = std::vector<std::string>;

const char kDatastore1[] = "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3";
const char kScratch[] = "62a1b2c3-6c7d8e9f-0a1b-027a3ea1b2c3";  // not mounted
const uint64_t kMiB = 1ull << 20;

// A change check: the volume's reclamation record becomes `unmap`, sent whole.
Path::ChangeCheck Reclaim(const std::string& volume, Json unmap) {
  unmap["reserved"] = 0;
  return Edited([=](Json& host) { VolumeIn(host, volume)["kovra"]["unmap"] = unmap; });
}
// The volume's flags become `flags`; `own_slot` >= 0: the host's own
// heartbeat slot (the volume's first) moves to that mode with it.
Path::ChangeCheck LockMode(const std::string& volume, int flags, int own_slot = -1) {
  return Edited([=](Json& host) {
    Json& kovra = VolumeIn(host, volume)["kovra"];
    kovra["lock_mode"] = flags;
    if (own_slot >= 0) kovra["heartbeats"][0]["lock_mode"] = own_slot;
  });
}

const std::vector<Path> kPaths = {
    // Upgrade and unmap share their target (volume_path_target): checked
    // through one or the other, options before the host.
    Case("TargetUuidUnknown", New<KovraVolumeUpgrade>, {"-u", "no-such-uuid"}, {},
         {"Cannot find Kovra volume with uuid no-such-uuid"}, kNoResult),
    Case("TargetLabelUnknown", New<KovraVolumeUnmap>, {"-l", "ds 9"}, {},
         {"Cannot find Kovra volume with label ds 9"}, kNoResult),
    Case("TargetLookupFails", New<KovraVolumeUpgrade>, {"-u", kDatastore1},
         {{"GetKovraFileSystemByUUID"}}, {"GetKovraFileSystemByUUID failed"}, kNoResult),
    Case("PathTargetTwice", New<KovraVolumeUpgrade>, {"-l", "nope", "-u", "nope"}, {},
         {"You cannot specify both uuid and volume label as target. Please specify only one of "
          "these"},
         kNoResult),
    Case("PathNoTarget", New<KovraVolumeUpgrade>, {}, {},
         {"A target Kovra volume must be specified either by label or uuid."}, kNoResult),
    // The volume is opened through its path as typed.
    Case("OpenByLabelFails", New<KovraVolumeUpgrade>, {"-l", "legacy3"},
         {{"KovraFileSystemImpl", "/kovra/volumes/legacy3"}}, {"KovraFileSystemImpl failed"},
         kNoResult),
    Case("OpenByUuidFails", New<KovraVolumeUnmap>, {"-u", kDatastore1},
         {{"KovraFileSystemImpl", std::string("/kovra/volumes/") + kDatastore1}},
         {"KovraFileSystemImpl failed"}, kNoResult),
    Case("Upgrade", New<KovraVolumeUpgrade>, {"-l", "legacy3"}, {}, {}, kTrue)
        .Changes(Edited([](Json& host) { VolumeIn(host, "legacy3")["kovra"]["version"] = 5; })),
    Case("UpgradeFails", New<KovraVolumeUpgrade>, {"-l", "legacy3"}, {{"ConvertToVersion5"}},
         {"ConvertToVersion5 failed"}, kNoResult),

    // Unmap: the volume's state before the unit, named as typed.
    Case("UnmapUnmounted", New<KovraVolumeUnmap>, {"-l", "scratch", "-n", "0"}, {},
         {"Volume(scratch) is unmounted"}, kNoResult),
    Case("UnmapUnmountedByUuid", New<KovraVolumeUnmap>, {"-u", kScratch}, {},
         {std::string("Volume(") + kScratch + ") is unmounted"}, kNoResult),
    Case("UnmapInaccessible", New<KovraVolumeUnmap>, {"-l", "datastore1", "-n", "0"}, {},
         {"Volume(datastore1) is inaccessible"}, kNoResult)
        .On([](Json& host) { VolumeIn(host, "datastore1")["accessible"] = false; }),
    Case("UnmapUnitZero", New<KovraVolumeUnmap>, {"-l", "datastore1", "-n", "0"}, {},
         {"reclaimUnit must be greater than zero"}, kNoResult),
    Case("Unmap", New<KovraVolumeUnmap>, {"-l", "datastore1", "-n", "8"}, {}, {}, kTrue)
        .Changes(Edited(
            [](Json& host) { VolumeIn(host, "datastore1")["kovra"]["reclaimed"] = 343597383680; })),
    Case("UnmapFails", New<KovraVolumeUnmap>, {"-l", "datastore1"}, {{"UnmapVolume"}},
         {"UnmapVolume failed"}, kNoResult),

    // The single-volume target (reclaim, host list, lock mode set, kadisk).
    Case("TargetTwice", New<KovraReclaimConfigGet>, {"-l", "a", "-u", "b"}, {},
         {"You cannot specify both --volume-label and --volume-uuid."}, kNoResult),
    Case("NoTarget", New<KovraReclaimConfigGet>, {}, {},
         {"A target Kovra volume must be specified either by --volume-label or --volume-uuid."},
         kNoResult),
    Case("SingleTargetLookupFails", New<KovraReclaimConfigGet>, {"-l", "datastore1"},
         {{"GetKovraFileSystemByLabel"}}, {"GetKovraFileSystemByLabel failed"}, kNoResult),
    Case("ReclaimGetFails", New<KovraReclaimConfigGet>, {"-l", "datastore1"},
         {{"GetUnmapProperty"}}, {"GetUnmapProperty failed"}, kNoResult),

    // reclaim set sends a whole record, with defaults for what is left out.
    Case("ReclaimSetGranularity", New<KovraReclaimConfigSet>, {"-l", "archive", "-g", "0"}, {}, {},
         kTrue)
        .Changes(Reclaim(
            "archive",
            {{"granularity", 0}, {"priority", ""}, {"method", "priority"}, {"bandwidth", 0}})),
    // Without a method the bandwidth is ignored without a word.
    Case("ReclaimSetNoMethod", New<KovraReclaimConfigSet>,
         {"-l", "datastore1", "-p", "low", "-b", "100", "-g", "4294967295"}, {}, {}, kTrue)
        .Changes(Reclaim("datastore1", {{"granularity", 4294967295},
                                        {"priority", "low"},
                                        {"method", "priority"},
                                        {"bandwidth", 0}})),
    Case("ReclaimSetPriority", New<KovraReclaimConfigSet>,
         {"-l", "datastore1", "-m", "priority", "-p", "medium", "-b", "9"}, {}, {}, kTrue)
        .Changes(Reclaim("datastore1", {{"granularity", 0},
                                        {"priority", "medium"},
                                        {"method", "priority"},
                                        {"bandwidth", 0}})),
    // "fixed" passes the bandwidth on unchecked.
    Case("ReclaimSetFixed", New<KovraReclaimConfigSet>,
         {"-l", "datastore1", "-m", "fixed", "-b", "-3"}, {}, {}, kTrue)
        .Changes(Reclaim(
            "datastore1",
            {{"granularity", 0}, {"priority", ""}, {"method", "fixed"}, {"bandwidth", -3}})),
    Case("ReclaimSetUnknown", New<KovraReclaimConfigSet>, {"-l", "nope", "-b", "1"}, {},
         {"Kovra volume with label nope could not be found."}, kNoResult),
    Case("ReclaimSetNothing", New<KovraReclaimConfigSet>, {"-l", "datastore1", "-b", "100"}, {},
         {"You have to specify at least one of - reclaim-granularity, reclaim-priority, "
          "reclaim-method"},
         kNoResult),
    Case("ReclaimSetNegative", New<KovraReclaimConfigSet>,
         {"-l", "datastore1", "-g", "-1", "-m", "fixed"}, {},
         {"reclaim-granularity must be greater than or equal to zero"}, kNoResult),
    Case("ReclaimSetNoPriority", New<KovraReclaimConfigSet>,
         {"-l", "datastore1", "-m", "priority", "-g", "4096"}, {},
         {"reclaim-priority should be specified"}, kNoResult),
    Case("ReclaimSetNoBandwidth", New<KovraReclaimConfigSet>,
         {"-l", "datastore1", "-m", "fixed", "-p", "high"}, {},
         {"reclaim-bandwidth should be specified"}, kNoResult),
    Case("ReclaimSetFails", New<KovraReclaimConfigSet>, {"-l", "datastore1", "-p", "none"},
         {{"SetUnmapProperty"}}, {"SetUnmapProperty failed"}, kNoResult),

    // lock mode set: the mode is checked before the volume; the command
    // flips the ATS-only flag, the host decides what is pending.
    Case("LockModeBoth", New<KovraVolumeLockModeSet>, {"-l", "nope", "-a", "-s"}, {},
         {"You cannot specify both --ats and --scsi."}, kNoResult),
    Case("LockModeNone", New<KovraVolumeLockModeSet>, {"-l", "nope"}, {},
         {"The requested lockmode must be specified either by --ats or --scsi."}, kNoResult),
    Case("LockModeUnknown", New<KovraVolumeLockModeSet>, {"-u", "nope", "--ats"}, {},
         {"Kovra volume with uuid nope could not be found."}, kNoResult),
    Case("LockModeKovra3", New<KovraVolumeLockModeSet>, {"-l", "legacy3", "-a"}, {},
         {"Cannot set ATS-only locking on volume 'legacy3': ATS on Kovra-3 not supported"},
         kNoResult),
    Case("LockModeToAts", New<KovraVolumeLockModeSet>, {"-l", "ssd-fast", "-a"}, {}, {}, kTrue)
        .Changes(LockMode("ssd-fast", 0x10)),
    Case("LockModeToScsi", New<KovraVolumeLockModeSet>, {"-l", "datastore1", "--scsi"}, {}, {},
         kTrue)
        .Changes(LockMode("datastore1", 0x40, 0)),
    Case("LockModeEndsUpgrade", New<KovraVolumeLockModeSet>, {"-l", "datastore1", "--ats"}, {}, {},
         kTrue)
        .On([](Json& host) { VolumeIn(host, "datastore1")["kovra"]["lock_mode"] = 0x20; })
        .Changes(LockMode("datastore1", 0x10)),
    Case("LockModeSetFails", New<KovraVolumeLockModeSet>, {"-l", "datastore1", "-s"},
         {{"SetLockMode"}}, {"SetLockMode failed"}, kNoResult),

    Case("LockModeListFails", New<KovraVolumeLockModeList>, {}, {{"GetKovraFileSystems"}},
         {"GetKovraFileSystems failed"}, kNoResult),
    Case("LockModeListOptionFails", New<KovraVolumeLockModeList>, {}, {{"GetAdvancedOptions"}},
         {"GetAdvancedOptions failed"}, kNoResult),
    Case("LockModeListOptionNotInteger", New<KovraVolumeLockModeList>, {}, {},
         {"Advanced option 'EnableOnlineATSUpgrade' in group 'Kovra3' is not an integer option."},
         kNoResult)
        .On([](Json& host) {
          host["advanced_options"][0]["type"] = "string";
          host["advanced_options"][0]["value"] = "1";
        }),
    // A volume that fails is skipped, with a message (ignored: see below).
    Case("LockModeListSkipsAVolume", New<KovraVolumeLockModeList>,
         {"-l", "archive", "-l", "ssd-fast"}, {{"GetAtsSupport", "archive"}},
         {"Error getting data for filesystem on "
          "'/kovra/volumes/55d6e7f8-4a5b6c7d-8e9f-027a3ea1b2c3': GetAtsSupport failed, skipping."},
         1),
    Case("LockModeListSelectionFails", New<KovraVolumeLockModeList>,
         {"-l", "nope", "-u", kDatastore1}, {}, {"Error fetching Kovra volume with label 'nope'"},
         kNoResult),
    Case("LockModeListSelectionIgnored", New<KovraVolumeLockModeList>,
         {"-l", "nope", "-u", kDatastore1, "-i"}, {}, {}, 1),

    // A failing heartbeat row drops the rows before it with the list.
    Case("HostListFails", New<KovraVolumeHostList>, {"-l", "datastore2"},
         {{"GetLockMode", "datastore2", 2}}, {"GetLockMode failed"}, kNoResult),
    Case("HostListIdle", New<KovraVolumeHostList>, {"-l", "archive"}, {}, {}, 0),

    Case("PBCacheGetFails", New<KovraPBCacheGet>, {}, {{"GetStats"}},
         {"Error getting data for Kovra heap size."}, kNoResult),
    Case("PBCacheResetFails", New<KovraPBCacheReset>, {}, {{"ResetStats"}},
         {"Error resetting Kovra Pointer Block cache statistics."}, kNoResult),
    // The statistics start again: no misses, the working set its own maximum.
    Case("PBCacheReset", New<KovraPBCacheReset>, {}, {}, {}, kTrue).Changes(Edited([](Json& host) {
      host["pbcache"]["capacity_miss_ratio"] = 0;
      host["pbcache"]["working_set_max"] = host["pbcache"]["working_set"];
    })),
};

PATH_SUITE(KovraAdminPathTest, CommandTest, kPaths);

class KovraAdminTest : public CommandTest {
 protected:
  void Patch(const std::function<void(Json& host)>& edit) {
    Json host = Host();
    edit(host);
    UseHost(host);
  }
  // The result of a run that must give no message.
  std::shared_ptr<Output> Clean(Cordra::AutoCli::Command& command, const Strings& args = {}) {
    auto output = Run(command, args);
    EXPECT_EQ(Errors(*output), Strings{});
    return output;
  }
  // Rows without their UUID but datastore1's (the UUID is copied as is).
  static std::vector<Row> LockRows(const Output& output) {
    std::vector<Row> rows = Rows(output);
    for (Row& row : rows) {
      if (row["Volume Name"] != "datastore1") row["UUID"] = "?";
    }
    return rows;
  }
};

TEST_F(KovraAdminTest, ReclaimGetShowsTheRecordWithUnsignedGranularity) {
  Patch(
      [](Json& host) { VolumeIn(host, "archive")["kovra"]["unmap"]["granularity"] = 4294967295; });
  EXPECT_EQ(Record(*Clean(*KovraReclaimConfigGet::New(), {"-l", "archive"})),
            (Row{{"Reclaim Granularity", "4294967295"},
                 {"Reclaim Priority", "low"},
                 {"Reclaim Method", "fixed"},
                 {"Reclaim Bandwidth", "100"}}));
}

// The parser lets only the two known methods through; a caller that
// bypasses it gets the command's own refusal.
TEST_F(KovraAdminTest, ReclaimSetRefusesAnUnknownMethod) {
  auto input = std::make_shared<Cordra::CallSpec::Input>();
  input->AddValue("volume-label", "datastore1");
  input->AddValue("reclaim-method", "dynamic");
  auto output = std::make_shared<Output>();
  const Json before = Host();
  KovraReclaimConfigSet::New()->Execute(input, output);
  EXPECT_EQ(Errors(*output), Strings{"Unsupported unmap method"});
  EXPECT_FALSE(HasResult(*output));
  EXPECT_EQ(Host(), before);
}

TEST_F(KovraAdminTest, LockModeSetWritesNothingWhenTheModeIsAlreadyThere) {
  for (int flags : {0x10, 0x40}) {
    Patch([&](Json& host) { VolumeIn(host, "datastore1")["kovra"]["lock_mode"] = flags; });
    ArmFault("SetLockMode", "datastore1", "Unable to write lock mode");  // any write would fail
    EXPECT_TRUE(IsTrue(
        *Clean(*KovraVolumeLockModeSet::New(), {"-l", "datastore1", flags == 0x10 ? "-a" : "-s"})));
    EXPECT_EQ(Volume("datastore1")["kovra"]["lock_mode"], flags);
  }
}

Row LockRow(const std::string& name, const std::string& type, const std::string& mode,
            const std::string& compatible, const std::string& upgrade,
            const std::string& reason = "") {
  return {{"Volume Name", name},
          {"UUID", name == "datastore1" ? kDatastore1 : "?"},
          {"Type", type},
          {"Locking Mode", mode},
          {"ATS Compatible", compatible},
          {"ATS Upgrade Modes", upgrade},
          {"ATS Incompatibility Reason", reason}};
}

TEST_F(KovraAdminTest, LockModeListShowsEachVolumesCompatibility) {
  Patch([](Json& host) {
    VolumeIn(host, "vm-busy")["kovra"]["lock_mode"] = 0x40;
    VolumeIn(host, "ds-prod-01")["kovra"]["lock_mode"] = 0x20;
  });
  auto command = KovraVolumeLockModeList::New();
  EXPECT_EQ(
      LockRows(*Clean(*command)),
      (std::vector<Row>{
          LockRow("datastore1", "Kovra-6", "ATS", "true", "No upgrade needed"),
          LockRow("datastore2", "Kovra-6", "ATS+SCSI", "true", "Offline"),
          LockRow("legacy3", "Kovra-3", "ATS+SCSI", "false", "None",
                  "ATS on Kovra-3 not supported"),
          LockRow("ssd-fast", "Kovra-5", "ATS+SCSI", "true", "Online/Offline"),
          LockRow("archive", "Kovra-5", "ATS+SCSI", "false", "None", "Device does not support ATS"),
          LockRow("vm-busy", "Kovra-6", "ATS DOWNGRADE PENDING", "true", "Online/Offline"),
          LockRow("scratch", "Kovra-6", "ATS+SCSI", "true", "Online/Offline"),
          LockRow("ds-prod-01", "Kovra-6", "ATS UPGRADE PENDING", "true", "No upgrade needed")}));

  Patch([](Json& host) { host["advanced_options"][0]["value"] = 0; });
  EXPECT_EQ(
      LockRows(*Clean(*command, {"-l", "ssd-fast", "-u", "61f0e1d2-5b6c7d8e-9f0a-027a3ea1b2c3"})),
      (std::vector<Row>{
          LockRow("ssd-fast", "Kovra-5", "ATS+SCSI", "true", "Offline"),
          LockRow("vm-busy", "Kovra-6", "ATS DOWNGRADE PENDING", "true", "Offline")}));
}

// With errors ignored, a failed volume's mount point is not even asked for:
// its failure would otherwise end the run.
TEST_F(KovraAdminTest, LockModeListIgnoringErrorsNeverAsksForTheMountPoint) {
  ArmFault("GetAtsSupport", "archive", "no ATS answer");
  ArmFault("GetMountPoint", "archive", "no mount point");
  auto command = KovraVolumeLockModeList::New();
  EXPECT_EQ(Rows(*Clean(*command, {"-l", "archive", "-l", "ssd-fast", "-i"})).size(), 1u);
}

TEST_F(KovraAdminTest, HostListShowsHeartbeatsInOrderAndQuickKeepsLiveOnes) {
  // 12 is not exactly 4, yet its ATS-only bit counts for the status.
  Patch(
      [](Json& host) { VolumeIn(host, "datastore2")["kovra"]["heartbeats"][0]["lock_mode"] = 12; });
  auto row = [](const std::string& uuid, const std::string& mac, const std::string& version,
                const std::string& offset, const std::string& mode, const std::string& status) {
    return Row{{"Heartbeat UUID", uuid},     {"MAC Address", mac},   {"Driver Version", version},
               {"Heartbeat Offset", offset}, {"Locking Mode", mode}, {"Status", status}};
  };
  const char kInvalid[] = "INVALID (needs unmount)";
  const Row first = row("60a2b4d0-3c4d5e6f-7081-027a3ea1b2c3", "02:7a:3e:a1:b2:c3", "6.82",
                        "3145728", "ATS+SCSI", kInvalid);
  const Row second = row("60a2b4d1-4d5e6f70-8192-027a3e5bc8d9", "02:7a:3e:5b:c8:d9", "6.82",
                         "3149824", "ATS-only", kInvalid);
  const Row third = row("60a2b4d2-5e6f7081-92a3-027a3e5c2233", "02:7a:3e:5c:22:33", "5.61",
                        "3153920", "ATS+SCSI", "Normal");
  auto command = KovraVolumeHostList::New();
  EXPECT_EQ(Rows(*Clean(*command, {"-l", "datastore2"})), (std::vector<Row>{first, second, third}));
  EXPECT_EQ(
      Rows(*Clean(*command, {"-u", "60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3", "--liveness", "quick"})),
      (std::vector<Row>{first, second}));
}

class StatusProbe : public KovraVolumeHostList {
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

Json Heap(const char* name, uint64_t current, uint64_t max) {
  return {{"name", name}, {"current", current}, {"max", max}};
}

TEST_F(KovraAdminTest, PBCacheConversionsTruncateAndKeepTheLow32Bits) {
  const uint64_t k32Bits = 0xffffffffull;
  Patch([&](Json& host) {
    host["pbcache"] = {{"cache_size", kMiB - 1},          {"cache_size_max", 0},
                       {"working_set", (1ull << 40) - 1}, {"working_set_max", UINT64_MAX},
                       {"heap_overhead", 1023},           {"capacity_miss_ratio", 0}};
    host["heaps"] = Json::array({Heap("kovra3", (k32Bits + 6) * kMiB, k32Bits * kMiB)});
  });
  EXPECT_EQ(Record(*Clean(*KovraPBCacheGet::New())),
            (Row{{"Cache Capacity Miss Ratio", "0"},
                 {"Cache Size", "0"},
                 {"Cache Size Max", "0"},
                 {"Cache Usage", "0"},  // no maximum: no division
                 {"Cache Working Set", "0"},
                 {"Cache Working Set Max", "16777215"},
                 {"Kovra Heap Overhead", "0"},
                 {"Kovra Heap Size", "5"},
                 {"Kovra Heap Size Max", "4294967295"}}));
}

TEST_F(KovraAdminTest, PBCacheCountsOnlyTheFirstLiveKovra3Heap) {
  auto get = KovraPBCacheGet::New();
  for (const Json& heaps : {Json::array(), Json::array({Heap("Kovra3", kMiB, kMiB)}),
                            Json::array({Heap("kovra3", 0, kMiB), Heap("kovra3", kMiB, kMiB)})}) {
    Patch([&](Json& host) { host["heaps"] = heaps; });
    auto output = Run(*get);
    EXPECT_EQ(Errors(*output), Strings{"Did not find Kovra3 heap stats!"});
    EXPECT_FALSE(HasResult(*output));
  }
  Patch([](Json& host) {
    host["heaps"] = Json::array({Heap("netstack", kMiB, kMiB), Heap("kovra3", 2 * kMiB, 3 * kMiB),
                                 Heap("kovra3", 9 * kMiB, 9 * kMiB)});
  });
  const Row record = Record(*Clean(*get));
  EXPECT_EQ(record.at("Kovra Heap Size"), "2");
  EXPECT_EQ(record.at("Kovra Heap Size Max"), "3");
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
