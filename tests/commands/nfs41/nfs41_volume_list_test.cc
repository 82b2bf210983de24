#include "commands/nfs41/nfs41_volume_list.h"

#include "tests/commands/nfs/nas_test_host.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::NFS41VolumeList;
using HostCtl::Storage::NetworkFileSystem;

TEST(Nfs41VolumeListTranslation, SecurityAndArrakTexts) {
  const char* const texts[] = {"none", "sys", "krb5", "krb5i", "krb5p", "unknown"};
  for (int type = 0; type <= 5; ++type) {
    EXPECT_STREQ(
        NFS41VolumeList::TranslateSecurity(static_cast<NetworkFileSystem::SecurityType>(type)),
        texts[type]);
  }
  EXPECT_STREQ(NFS41VolumeList::TranslateArrak(HostCtl::Storage::ARRAK_UNKNOWN), "Unknown");
  EXPECT_STREQ(NFS41VolumeList::TranslateArrak(HostCtl::Storage::ARRAK_SUPPORTED), "Supported");
  EXPECT_STREQ(NFS41VolumeList::TranslateArrak(HostCtl::Storage::ARRAK_NOT_SUPPORTED),
               "Not Supported");
}

class Nfs41VolumeListTest : public CommandTest {};

TEST_F(Nfs41VolumeListTest, ListsVisibleNfs41MountsInHostOrder) {
  UseHost(NasHost({NasVolume("NFS41", "ds1", {{"hosts", {kServer, kServer2}}, {"security", 2}}, 1),
                   NasVolume("NFS", "v3"),
                   NasVolume("NFS41", kOddName, {{"hosts", {kServer2}}, {"security", 0}}),
                   // Read-write, on an export that only allows reading.
                   NasVolume("NFS41", "iso", {{"share", "/exports/iso"}, {"security", 4}}),
                   NasVolume("NFS41", "hidden", {{"hidden", true}}),
                   NasVolume("NFS41", "pe", {{"pe", true}, {"hidden", true}})}));
  auto list = NFS41VolumeList::New();
  EXPECT_EQ(list->GetDefaultOutputParameter("fields:NasMount"),
            "Volume Name,Host(s),Share,Accessible,Mounted,Read-Only,Security,isPE,"
            "Hardware Acceleration");
  auto out = Run(*list);
  EXPECT_TRUE(Errors(*out).empty());
  const auto rows = Rows(*out);
  ASSERT_EQ(Names(rows), (Texts{"ds1", kOddName, "iso"}));
  EXPECT_EQ(rows[0], (Row{{"Volume Name", "ds1"},
                          {"Host(s)", "192.0.2.10,192.0.2.11"},
                          {"Share", "/exports/data"},
                          {"Accessible", "true"},
                          {"Mounted", "true"},
                          {"Read-Only", "false"},
                          {"Security", "krb5"},
                          {"isPE", "false"},
                          {"Hardware Acceleration", "Supported"}}));
  EXPECT_EQ(rows[1].at("Host(s)"), kServer2);
  EXPECT_EQ(rows[1].at("Security"), "none");
  EXPECT_EQ(rows[2].at("Read-Only"), "true");  // as mounted
  EXPECT_EQ(rows[2].at("Security"), "krb5p");
  EXPECT_EQ(Names(Rows(*Run(*list, {"-p"}))), Texts{"pe"});

  ArmFault("GetSecurityType", "ds1", "Session expired");
  out = Run(*list);
  EXPECT_EQ(Names(Rows(*out)), (Texts{kOddName, "iso"}));
  EXPECT_EQ(Errors(*out), Texts{"Error getting data for mount 'ds1': Session expired, skipping."});
}

TEST_F(Nfs41VolumeListTest, EmptyHostAndQueryFailure) {
  UseHost(NasHost({NasVolume("NFS", "v3")}));
  auto out = Run(*NFS41VolumeList::New());
  EXPECT_TRUE(HasResult(*out));
  EXPECT_TRUE(Rows(*out).empty());
  EXPECT_TRUE(Errors(*out).empty());

  ArmFault("GetV41NetworkFileSystems", "", "NAS service not running");
  out = Run(*NFS41VolumeList::New());
  EXPECT_EQ(Errors(*out), Texts{"NAS service not running"});
  EXPECT_FALSE(HasResult(*out));
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
