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

std::vector<FaultCase> Cases() {
  // The restore answers true also after a failure.
  std::vector<FaultCase> cases = {
      RunFails("BootRestoreStorageInfoFails", New<BootRestore>, {}, "StorageInfoImpl").True(),
      FaultCase("BootRestoreFails", New<BootRestore>)
          .Fault("RestorePsaConfig")
          .Errors({"RestorePsaConfig failed"})
          .True(),
      RunFails("KadiskGetFails", New<ClusteredKadiskGet>, {"-l", "datastore1"},
               "IsClusteredKadiskEnabled"),
      RunFails("KadiskSetFails", New<ClusteredKadiskSet>, {"-l", "datastore1", "-e", "true"},
               "SetClusteredKadiskEnabled")};
  for (auto&& more : {LookupFails("KadiskGet", New<ClusteredKadiskGet>, {}),
                      LookupFails("KadiskSet", New<ClusteredKadiskSet>, {"-e", "false"})}) {
    cases.insert(cases.end(), more.begin(), more.end());
  }
  return cases;
}

FAULT_CASE_SUITE(InternalFaultTest, Cases());

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
