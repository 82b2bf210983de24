// The call recorder behind the fault-coverage report: off unless a test
// turns it on, and then it records each operation under the command named at
// the time, once, and the faults that fired in them.
#include "hostctl/call_recorder.h"

#include <gtest/gtest.h>

#include "hostctl/lib.h"
#include "hostctl/sim.h"
#include "strelctl/storage.h"

namespace {

using HostCtl::Sim::CallRecorder;
using HostCtl::Sim::RecordedCall;

class CallRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostCtl::Sim::UseInMemoryHost(
        R"({"format": 1, "faults": [{"operation": "RescanKovra", "message": "no"}]})");
  }
  void TearDown() override { CallRecorder::Disable(); }

  // Makes a storage object and asks it for a rescan (which fails).
  static void Rescan() {
    StrelCtl::Storage::StorageInfoImpl storage;
    EXPECT_THROW(storage.RescanKovra(), HostCtl::Lib::HostCtlException);
  }
};

TEST_F(CallRecorderTest, RecordsNothingUnlessTurnedOn) {
  CallRecorder::SetCommand("VolumeRescan");
  Rescan();
  EXPECT_TRUE(CallRecorder::Records().empty());
}

TEST_F(CallRecorderTest, RecordsCallsAndFiredFaultsOfTheNamedCommandOnce) {
  CallRecorder::Enable();
  Rescan();  // no command named yet: the test's own calls
  CallRecorder::SetCommand("VolumeRescan");
  Rescan();
  Rescan();
  CallRecorder::SetCommand("");
  Rescan();
  EXPECT_EQ(CallRecorder::Records(),
            (std::set<RecordedCall>{{"VolumeRescan", "RescanKovra", false},
                                    {"VolumeRescan", "RescanKovra", true},
                                    {"VolumeRescan", "StorageInfoImpl", false}}));
  CallRecorder::Disable();
  EXPECT_TRUE(CallRecorder::Records().empty());
}

}  // namespace
