#include "commands/nfs/nfs_volume_preunmount.h"

#include <string>

#include "strelctl/storage.h"

namespace TarvexCli {
namespace FileSystem {

namespace {

using Transition = void (StrelCtl::Storage::StorageInfoImpl::*)(const std::string&);

std::shared_ptr<CallSpec::InputSpec> VolumeNameSpec(const char* description) {
  return AddParameters(CallSpec::InputSpec::New(),
                       {{"volume-name", "v", CallSpec::PARAM_STRING, true, description}});
}

// Asks the host for the transition; `failure` ("Enter", "Exit") names it in
// the message.
void RunTransition(Transition transition, const char* failure, const InputPtr& input,
                   const OutputPtr& output) {
  // Let through on purpose: made before the handler (see command_support.h).
  StrelCtl::Storage::StorageInfoImpl storage;
  const std::string volume_name = input->GetParameter("volume-name");
  try {
    (storage.*transition)(volume_name);
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(std::string("Preunmount ") + failure + " failed for " + volume_name +
                            ": " + e.what());
  }
}

}  // namespace

std::shared_ptr<NFSVolumePreunmountEnter> NFSVolumePreunmountEnter::New() {
  return std::make_shared<NFSVolumePreunmountEnter>();
}

NFSVolumePreunmountEnter::NFSVolumePreunmountEnter() {
  SetDescription("Enter NAS volume to preunmount state.");
}

NFSVolumePreunmountEnter::~NFSVolumePreunmountEnter() = default;

std::shared_ptr<CallSpec::InputSpec> NFSVolumePreunmountEnter::GetInputSpecInternal() {
  return VolumeNameSpec("Name of the NAS volume to enter preunmount state.");
}

std::shared_ptr<CallSpec::OutputSpec> NFSVolumePreunmountEnter::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFSVolumePreunmountEnter::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  RunTransition(&StrelCtl::Storage::StorageInfoImpl::EnterNetworkFileSystemPreUnmount, "Enter",
                input, output);
}

std::shared_ptr<NFSVolumePreunmountExit> NFSVolumePreunmountExit::New() {
  return std::make_shared<NFSVolumePreunmountExit>();
}

NFSVolumePreunmountExit::NFSVolumePreunmountExit() {
  SetDescription("Exit NAS volume from preunmount state.");
}

NFSVolumePreunmountExit::~NFSVolumePreunmountExit() = default;

std::shared_ptr<CallSpec::InputSpec> NFSVolumePreunmountExit::GetInputSpecInternal() {
  return VolumeNameSpec("Name of the NAS volume to exit from preunmount state.");
}

std::shared_ptr<CallSpec::OutputSpec> NFSVolumePreunmountExit::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void NFSVolumePreunmountExit::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  RunTransition(&StrelCtl::Storage::StorageInfoImpl::ExitNetworkFileSystemPreUnmount, "Exit", input,
                output);
}

}  // namespace FileSystem
}  // namespace TarvexCli
