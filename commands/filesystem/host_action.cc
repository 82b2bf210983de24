#include "commands/filesystem/host_action.h"

namespace TarvexCli {
namespace FileSystem {

HostActionCommand::HostActionCommand(const char* description, Action action) : action_(action) {
  SetDescription(description);
}

HostActionCommand::~HostActionCommand() = default;

std::shared_ptr<CallSpec::InputSpec> HostActionCommand::GetInputSpecInternal() {
  return CallSpec::InputSpec::New();
}

std::shared_ptr<CallSpec::OutputSpec> HostActionCommand::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void HostActionCommand::ExecuteInternal(const InputPtr&, const OutputPtr& output) {
  // Let through on purpose: made before the handler (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  try {
    (storage.*action_)();
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

std::shared_ptr<VolumeRescan> VolumeRescan::New() { return NewBoundCommand<VolumeRescan>(); }

VolumeRescan::VolumeRescan()
    : HostActionCommand("Scan storage devices for new mountable filesystems.",
                        &StrelCtl::Storage::StorageInfoImpl::RescanKovra) {}

VolumeRescan::~VolumeRescan() = default;

std::shared_ptr<VolumeAutomount> VolumeAutomount::New() {
  return NewBoundCommand<VolumeAutomount>();
}

VolumeAutomount::VolumeAutomount()
    : HostActionCommand("Request mounting of known datastores not explicitly unmounted.",
                        &StrelCtl::Storage::StorageInfoImpl::AutoFullMountVolumes) {}

VolumeAutomount::~VolumeAutomount() = default;

}  // namespace FileSystem
}  // namespace TarvexCli
