#include "commands/kovra/reclaim_config.h"
#include "tests/commands/kovra/admin_fixture.h"

namespace TarvexCli {
namespace Testing {
namespace {

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

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
