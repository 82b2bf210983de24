// Dry runs: the changes listed are the difference of two dumps, grouped by
// object; everything a dry run wrote is undone, a failed write transaction
// inside it as it would be on its own.
#include "hostctl/rules/dry_run.h"

#include <functional>

#include "host_test_support.h"
#include "hostctl/rules/admin.h"
#include "hostctl/rules/sim.h"
#include "hostctl/store/session.h"

namespace HostTest {
namespace {

using HostCtl::Sim::DiffDumps;
using HostCtl::Sim::DryRunReport;
using Ordered = nlohmann::ordered_json;  // a dump's keys in the dump's order

Ordered& VolumeIn(Ordered& host, const std::string& name) {
  for (Ordered& volume : host["volumes"]) {
    if (volume["name"] == name) return volume;
  }
  throw std::runtime_error("no volume " + name);
}

struct DiffRow {
  const char* what;
  std::function<void(Ordered&)> change;
  const char* listed;
};

TEST(DryRunTest, ListsEachChangedObjectByKindAndNameWithItsFields) {
  const DiffRow rows[] = {
      {"nothing", [](Ordered&) {}, "dry run: no change\n"},
      {"a volume's own and nested fields, in the dump's order",
       [](Ordered& h) {
         VolumeIn(h, "datastore1")["mounted"] = false;
         VolumeIn(h, "datastore1")["kovra"]["unmap"]["priority"] = "high";
         VolumeIn(h, "datastore1")["kovra"]["from_snapshot"] = {{"label", "s"}, {"uuid", "u"}};
       },
       "  volume 'datastore1'\n    mounted: true -> false\n"
       "    kovra.unmap.priority: \"low\" -> \"high\"\n"
       "    kovra.from_snapshot: null -> {\"label\":\"s\",\"uuid\":\"u\"}\n"},
      {"an option, a feature, a counter",
       [](Ordered& h) {
         h["advanced_options"][0]["value"] = 0;
         h["features"]["2000"] = true;
         h["psa"]["restores"] = 1;
       },
       "  host 'hvx-lab-01.example.test'\n    features.2000: null -> true\n    psa.restores: 0 -> "
       "1\n"
       "  option 'Kovra3/EnableOnlineATSUpgrade'\n    value: 1 -> 0\n"},
      {"two faults armed alike: the second goes",
       [](Ordered& h) {
         Ordered fault = {{"operation", "Mount"}, {"object", "x"}, {"message", "m"}, {"nth", 0},
                          {"times", 0},           {"calls", 0},    {"fired", 0}};
         h["faults"] = Ordered::array({fault, fault});
       },
       "  fault 'Mount@x': added\n  fault 'Mount@x#2': added\n"},
  };
  for (const DiffRow& row : rows) {
    SCOPED_TRACE(row.what);
    Json before = DefaultHost();
    UseHost(before);
    const std::string dumped = HostCtl::Sim::DumpHost();
    Ordered after = Ordered::parse(dumped);
    row.change(after);
    const std::string report = DryRunReport(DiffDumps(dumped, after.dump()), {}, false);
    const std::string head = "dry run: nothing was changed; the command would change:\n";
    EXPECT_EQ(report,
              std::string(row.listed).rfind("dry run", 0) == 0 ? row.listed : head + row.listed);
  }
}

class DryRunStoreTest : public DefaultHostTest {
 protected:
  void TearDown() override {
    std::vector<HostCtl::Sim::ObjectChange> ignored;
    HostCtl::Sim::FinishDryRun(&ignored);
  }
};

TEST_F(DryRunStoreTest, UndoesEveryWriteAndAFailedTransactionAsOnItsOwn) {
  const std::string before = HostCtl::Sim::DumpHost();
  HostCtl::Sim::StartDryRun();
  HostCtl::Sim::SetFeature(2000, true);
  // A transaction that fails after its first statement leaves nothing.
  EXPECT_THROW(HostCtl::Sim::WriteTransaction([](HostCtl::Sim::Db& db) {
                 db.Exec("UPDATE host SET psa_restores = 7");
                 throw std::runtime_error("failed");
               }),
               std::runtime_error);
  HostCtl::Sim::ClearEvents();  // no events: a change to nothing
  EXPECT_NE(HostCtl::Sim::DumpHost(), before);
  std::vector<HostCtl::Sim::ObjectChange> changes;
  ASSERT_TRUE(HostCtl::Sim::FinishDryRun(&changes));
  EXPECT_EQ(DryRunReport(changes, {}, false),
            "dry run: nothing was changed; the command would change:\n"
            "  host 'hvx-lab-01.example.test'\n    features.2000: null -> true\n");
  EXPECT_EQ(HostCtl::Sim::DumpHost(), before);
  // The dry run is over: the next change stays.
  HostCtl::Sim::SetFeature(2001, true);
  EXPECT_EQ(CurrentHost()["features"]["2001"], true);
}

TEST_F(DryRunStoreTest, AProcessThatOnlyReadsListsNoChange) {
  HostCtl::Sim::StartDryRun();
  HostCtl::Sim::ListFeatures();
  EXPECT_FALSE(HostCtl::Sim::Session::Get().db().DryRunWrote());
  std::vector<HostCtl::Sim::ObjectChange> changes{{}};
  EXPECT_TRUE(HostCtl::Sim::FinishDryRun(&changes));
  EXPECT_TRUE(changes.empty());
}

}  // namespace
}  // namespace HostTest
