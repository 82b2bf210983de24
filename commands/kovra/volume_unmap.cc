#include "commands/kovra/volume_unmap.h"

#include <cstdint>
#include <string>

#include "commands/kovra/volume_path_target.h"

namespace TarvexCli {
namespace FileSystem {

namespace {

// File-system blocks released per iteration when the user does not say.
const uint32_t kDefaultReclaimUnit = 200;

}  // namespace

std::shared_ptr<KovraVolumeUnmap> KovraVolumeUnmap::New() {
  return NewBoundCommand<KovraVolumeUnmap>();
}

KovraVolumeUnmap::KovraVolumeUnmap() {
  SetDescription("Reclaim the space by unmapping free blocks from Kovra Volume");
}

KovraVolumeUnmap::~KovraVolumeUnmap() = default;

std::shared_ptr<CallSpec::InputSpec> KovraVolumeUnmap::GetInputSpecInternal() {
  // "reclaim-unit" has no range constraint: the command checks it itself,
  // after the volume checks.
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-label", "l", CallSpec::PARAM_STRING, false,
                            "The label of the Kovra volume to unmap the free blocks."},
                           {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
                            "The uuid of the Kovra volume to unmap the free blocks."},
                           {"reclaim-unit", "n", CallSpec::PARAM_INT, false,
                            "Number of Kovra blocks that should be unmapped per iteration."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> KovraVolumeUnmap::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void KovraVolumeUnmap::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  try {
    KovraPathTarget target = OpenKovraVolumeByPath(input, output);
    if (!target.volume) return;
    if (!target.volume->IsMounted()) {
      output->AddErrorMessage("Volume(" + target.name + ") is unmounted");
      return;
    }
    if (!target.volume->IsAccessible()) {
      output->AddErrorMessage("Volume(" + target.name + ") is inaccessible");
      return;
    }
    uint32_t unit = kDefaultReclaimUnit;
    if (input->HasParameter("reclaim-unit")) {
      // The unit is a signed 32-bit count: a larger number keeps its low 32
      // bits, as the library's own parameter would.
      const int32_t given = static_cast<int32_t>(input->GetParameterInt("reclaim-unit"));
      if (given <= 0) {
        output->AddErrorMessage("reclaimUnit must be greater than zero");
        return;
      }
      unit = static_cast<uint32_t>(given);
    }
    target.volume->UnmapVolume(unit, nullptr);
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
