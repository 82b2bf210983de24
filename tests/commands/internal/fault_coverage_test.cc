// A host failure in every operation the internal commands call (where the
// other tests of this group fire none): the exact report, the result, and
// what the host keeps. The fault-coverage check relies on these cases.
#include "commands/internal/boot_restore.h"
#include "commands/internal/clustered_kadisk.h"
#include "tests/commands/fault_case.h"

namespace TarvexCli {
namespace Testing {
namespace {

using FileSystem::ClusteredKadiskGet;
using FileSystem::ClusteredKadiskSet;
using Nmp::BootRestore;

const char kDatastore1Uuid[] = "5f1e2d3c-8a7b6c5d-1e2f-000c29a1b2c3";

// `operation` fails while the command looks its volume up: the message
// unchanged, nothing done.
FaultCase LookupFails(const std::string& command, CommandMaker make, const char* operation,
                      std::vector<std::string> args) {
  return FaultCase(command + operation + "Fails", std::move(make))
      .Args(std::move(args))
      .Fault(operation)
      .Errors({std::string(operation) + " failed"});
}

const std::vector<std::string> kGet = {"-l", "datastore1"};
const std::vector<std::string> kSet = {"-l", "datastore1", "-e", "false"};

const FaultCase kCases[] = {
    // The restore answers true also after a failure.
    FaultCase("BootRestoreStorageInfoFails", New<BootRestore>)
        .Fault("StorageInfoImpl")
        .Errors({"StorageInfoImpl failed"})
        .True(),
    LookupFails("KadiskGet", New<ClusteredKadiskGet>, "GetHost", kGet),
    LookupFails("KadiskGet", New<ClusteredKadiskGet>, "GetStorageInfo", kGet),
    LookupFails("KadiskGet", New<ClusteredKadiskGet>, "StorageInfoImpl", kGet),
    LookupFails("KadiskGet", New<ClusteredKadiskGet>, "GetKovraFileSystemByLabel", kGet),
    LookupFails("KadiskGet", New<ClusteredKadiskGet>, "GetKovraFileSystemByUUID",
                {"-u", kDatastore1Uuid}),
    LookupFails("KadiskSet", New<ClusteredKadiskSet>, "GetHost", kSet),
    LookupFails("KadiskSet", New<ClusteredKadiskSet>, "GetStorageInfo", kSet),
    LookupFails("KadiskSet", New<ClusteredKadiskSet>, "StorageInfoImpl", kSet),
    LookupFails("KadiskSet", New<ClusteredKadiskSet>, "GetKovraFileSystemByLabel", kSet),
};

class InternalFaultTest : public FaultCaseTest {};

TEST_P(InternalFaultTest, ReportsTheFailureAndKeepsTheHostSound) { Check(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Faults, InternalFaultTest, ::testing::ValuesIn(kCases), FaultCaseName());

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
