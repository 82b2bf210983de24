#include "commands/kovra/volume_upgrade.h"

#include "commands/kovra/volume_path_target.h"

namespace TarvexCli {
namespace FileSystem {

std::shared_ptr<KovraVolumeUpgrade> KovraVolumeUpgrade::New() {
  return NewBoundCommand<KovraVolumeUpgrade>();
}

KovraVolumeUpgrade::KovraVolumeUpgrade() { SetDescription("Upgrade a Kovra3 volume to Kovra5."); }

KovraVolumeUpgrade::~KovraVolumeUpgrade() = default;

std::shared_ptr<CallSpec::InputSpec> KovraVolumeUpgrade::GetInputSpecInternal() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-label", "l", CallSpec::PARAM_STRING, false,
                            "The label of the Kovra volume to upgrade."},
                           {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
                            "The uuid of the Kovra volume to upgrade."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> KovraVolumeUpgrade::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void KovraVolumeUpgrade::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  try {
    KovraPathTarget target = OpenKovraVolumeByPath(input, output);
    if (!target.volume) return;
    // The host refuses what it cannot convert by throwing.
    target.volume->ConvertToVersion5();
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
