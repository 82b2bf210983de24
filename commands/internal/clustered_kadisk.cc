#include "commands/internal/clustered_kadisk.h"

#include "commands/filesystem/volume_targeting.h"

namespace TarvexCli {
namespace FileSystem {

namespace {

std::shared_ptr<MetaObj::MetaStruct> KadiskInfo(std::shared_ptr<MetaObj::MetaBool> enabled) {
  auto info = MetaObj::MetaStruct::New("ClusteredKadiskInfo");
  info->SetField("Enabled", std::move(enabled));
  return info;
}

}  // namespace

std::shared_ptr<ClusteredKadiskGet> ClusteredKadiskGet::New() {
  return std::make_shared<ClusteredKadiskGet>();
}

ClusteredKadiskGet::ClusteredKadiskGet() {
  SetDescription("Get information about clustered Kadisk support.");
  SetDefaultOutputFormatter("simple");
}

ClusteredKadiskGet::~ClusteredKadiskGet() = default;

std::shared_ptr<CallSpec::InputSpec> ClusteredKadiskGet::GetInputSpecInternal() {
  return GetSingleKovraVolumeInputSpec();
}

std::shared_ptr<CallSpec::OutputSpec> ClusteredKadiskGet::GetOutputSpecInternal() {
  return OutputSpecOf(KadiskInfo(MetaObj::MetaBool::New()));
}

void ClusteredKadiskGet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  auto volume = GetSingleKovraVolume(input, output);
  if (!volume) return;
  try {
    output->SetRootObject(KadiskInfo(MetaObj::MetaBool::New(volume->IsClusteredKadiskEnabled())));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

std::shared_ptr<ClusteredKadiskSet> ClusteredKadiskSet::New() {
  return std::make_shared<ClusteredKadiskSet>();
}

ClusteredKadiskSet::ClusteredKadiskSet() {
  SetDescription("Enable or disable clustered Kadisk support.");
}

ClusteredKadiskSet::~ClusteredKadiskSet() = default;

std::shared_ptr<CallSpec::InputSpec> ClusteredKadiskSet::GetInputSpecInternal() {
  return AddParameters(GetSingleKovraVolumeInputSpec(),
                       {
                           {"enabled", "e", CallSpec::PARAM_BOOL, true,
                            "The new enabled state of the clustered Kadisk support."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> ClusteredKadiskSet::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void ClusteredKadiskSet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  auto volume = GetSingleKovraVolume(input, output);
  if (!volume) return;
  try {
    volume->SetClusteredKadiskEnabled(input->GetParameterBool("enabled"));
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
