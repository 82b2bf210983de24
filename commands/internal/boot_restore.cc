#include "commands/internal/boot_restore.h"

#include "strelctl/storage.h"

namespace TarvexCli {
namespace Nmp {

std::shared_ptr<BootRestore> BootRestore::New() { return NewBoundCommand<BootRestore>(); }

BootRestore::BootRestore() { SetDescription("Used to restore configuration state at boot time."); }

BootRestore::~BootRestore() = default;

std::shared_ptr<CallSpec::InputSpec> BootRestore::GetInputSpecInternal() {
  return CallSpec::InputSpec::New();
}

std::shared_ptr<CallSpec::OutputSpec> BootRestore::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void BootRestore::ExecuteInternal(const InputPtr&, const OutputPtr& output) {
  try {
    StrelCtl::Storage::StorageInfoImpl storage;
    storage.RestorePsaConfig();
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
  output->SetRootObject(MetaObj::MetaBool::New(true));
}

}  // namespace Nmp
}  // namespace TarvexCli
