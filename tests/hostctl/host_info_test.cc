// The host itself: advanced options, the feature table, the names completion
// offers, and StrPrintf.
#include "host_test_support.h"
#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/host_names.h"
#include "hostctl/store/store_file.h"

namespace HostTest {
namespace {

class HostInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHost(DefaultHost());
    host_ = HostCtl::HostFactory::GetHost();
  }
  std::unique_ptr<HostCtl::Host> host_;
};

TEST_F(HostInfoTest, AdvancedOptionsHaveTheirTypeAndUnknownOnesAreNamed) {
  auto options = host_->GetAdvancedOptions();
  auto option = options->GetOptionGroup("Kovra3")->GetOption("EnableOnlineATSUpgrade");
  auto* integer = dynamic_cast<HostCtl::Adv::AdvancedIntegerOption*>(option.get());
  ASSERT_NE(integer, nullptr);
  EXPECT_EQ(integer->GetValue(), 1);
  auto text = options->GetOptionGroup("Syslog")->GetOption("LogHost");
  auto* string = dynamic_cast<HostCtl::Adv::AdvancedStringOption*>(text.get());
  ASSERT_NE(string, nullptr);
  EXPECT_EQ(string->GetValue(), "udp://192.0.2.50:514");
  EXPECT_EQ(HostError([&] { options->GetOptionGroup("Kovra5"); }),
            "Advanced option group 'Kovra5' does not exist");
  EXPECT_EQ(HostError([&] { options->GetOptionGroup("Kovra3")->GetOption("Nope"); }),
            "Advanced option 'Kovra3/Nope' does not exist");
}

TEST_F(HostInfoTest, FeatureLookupsReadTheHostEveryTime) {
  const uint8_t* preunmount = HostCtl::FeatureList[HostCtl::FEATURE_NAS_PREUNMOUNT];
  EXPECT_EQ(*preunmount, 1);
  HostCtl::Sim::SetFeature(HostCtl::FEATURE_NAS_PREUNMOUNT, false);
  EXPECT_EQ(*HostCtl::FeatureList[HostCtl::FEATURE_NAS_PREUNMOUNT], 0);
  EXPECT_EQ(*HostCtl::FeatureList[HostCtl::FEATURE_NAS_STRELNIC_BINDING], 1);
  EXPECT_EQ(*HostCtl::FeatureList[9999], 0);
  HostCtl::Sim::SetFeature(9999, true);
  EXPECT_EQ(*HostCtl::FeatureList[9999], 1);
}

// What completion offers: each kind's names once, in the host's order; a
// store not made yet answers with the default host.
TEST(HostNamesTest, EachKindNamesItsObjectsOnce) {
  TempDir dir;
  const struct {
    std::string kind;
    size_t count;
    std::string last;
  } kinds[] = {
      {"volume-label", 15, "ds-prod-01"},
      {"volume-uuid", 15, "50ac1b12-6b9eebe0-6765-80c16e6d3408"},
      {"kovra-label", 9, "ds-prod-01"},
      {"kovra-uuid", 9, "50ac1b12-6b9eebe0-6765-80c16e6d3408"},
      {"nfs-name", 4, "nfs-legacy"},
      {"nfs41-name", 1, "nfs41-home"},
      {"mount-point", 12, "/kovra/volumes/50ac1b12-6b9eebe0-6765-80c16e6d3408"},
      {"snapshot-label", 2, "datastore1"},
      {"snapshot-uuid", 2, "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3"},
      {"strelnic", 2, "tvn1"},
      {"host", 1, "hvx-lab-01.example.test"},
      {"fault-operation", 87, "Unmount"},
      {"fault-object", 48, "LogHost"},  // volumes by label and UUID, snapshots, devices, options
      {"volume", 0, ""},
  };
  for (const auto& k : kinds) {
    const auto names = HostCtl::Sim::HostNames(dir.Path("none.db"), k.kind);
    EXPECT_EQ(names.size(), k.count) << k.kind;
    EXPECT_EQ(names.empty() ? "" : names.back(), k.last) << k.kind;
  }
  EXPECT_TRUE(HostCtl::Sim::HostNames(dir.path(), "volume-label").empty());  // not a file

  // A store whose path holds the characters a URI gives a meaning to.
  std::string fixture = HostCtl::Sim::DefaultHostFixture();
  fixture.replace(fixture.find("nfs41-home"), 10, "nfs41-away");
  const std::string odd = dir.Path("a?b#c%d.db");
  ASSERT_TRUE(HostCtl::Sim::InitStoreFile(odd, HostCtl::Sim::LoadFixture(fixture, "<odd>"), false));
  EXPECT_EQ(HostCtl::Sim::HostNames(odd, "nfs41-name"), std::vector<std::string>{"nfs41-away"});

  // A write still in the log of a process that has the store open is seen.
  const std::string live = dir.Path("live.db");
  HostCtl::Sim::SetStorePath(live);
  StrelCtl::Storage::StorageInfoImpl().AddNetworkFileSystem("192.0.2.1", "/x", "in-log", false, "",
                                                            0);
  EXPECT_EQ(HostCtl::Sim::HostNames(live, "nfs-name").back(), "in-log");
  HostCtl::Sim::SetStorePath("");
}

TEST(StrPrintfTest, FormatsLikePrintfWithoutALengthLimit) {
  EXPECT_EQ(HostCtl::Misc::StrPrintf("%s-%05d-%x", "ds", 42, 255u), "ds-00042-ff");
  EXPECT_EQ(HostCtl::Misc::StrPrintf("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}

}  // namespace
}  // namespace HostTest
