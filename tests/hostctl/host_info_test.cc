// The host itself: advanced options, the feature table, and StrPrintf.
#include "host_test_support.h"
#include "hostctl/admin.h"

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

TEST(StrPrintfTest, FormatsLikePrintfWithoutALengthLimit) {
  EXPECT_EQ(HostCtl::Misc::StrPrintf("%s-%05d-%x", "ds", 42, 255u), "ds-00042-ff");
  EXPECT_EQ(HostCtl::Misc::StrPrintf("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}

}  // namespace
}  // namespace HostTest
