#include "commands/kovra/lockmode_set.h"

#include <cstdint>

#include "commands/filesystem/volume_targeting.h"
#include "hostctl/kovra_file_system.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Storage::KovraFileSystem;

std::shared_ptr<KovraVolumeLockModeSet> KovraVolumeLockModeSet::New() {
  return NewBoundCommand<KovraVolumeLockModeSet>();
}

KovraVolumeLockModeSet::KovraVolumeLockModeSet() {
  SetDescription("Update the on-disk critical section locking mode for a particular Kovra Volume.");
  AddExample("-a -l datastore1",
             "Configure Kovra volume with label 'datastore1'for ATS-only locking.");
  AddExample("-s -u 50ac1b12-6b9eebe0-6765-80c16e6d3408",
             "Configure Kovra volume with uuid '50ac1b12-6b9eebe0-6765-80c16e6d3408' for SCSI "
             "locking.");
}

KovraVolumeLockModeSet::~KovraVolumeLockModeSet() = default;

std::shared_ptr<CallSpec::InputSpec> KovraVolumeLockModeSet::GetInputSpecInternal() {
  return AddParameters(GetSingleKovraVolumeInputSpec(),
                       {
                           {"ats", "a", CallSpec::PARAM_FLAG, false, "Enable ATS-only locking."},
                           {"scsi", "s", CallSpec::PARAM_FLAG, false, "Enable SCSI locking."},
                       });
}

std::shared_ptr<CallSpec::OutputSpec> KovraVolumeLockModeSet::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void KovraVolumeLockModeSet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool ats = input->IsFlagSet("ats");
  const bool scsi = input->IsFlagSet("scsi");
  if (ats && scsi) {
    output->AddErrorMessage("You cannot specify both --ats and --scsi.");
    return;
  }
  if (!ats && !scsi) {
    output->AddErrorMessage("The requested lockmode must be specified either by --ats or --scsi.");
    return;
  }
  auto volume = GetSingleKovraVolume(input, output);
  if (!volume) return;
  try {
    const uint32_t flags = volume->GetLockMode();
    const bool ats_only = (flags & KovraFileSystem::LOCK_ATS_ONLY) != 0;
    // Whether the change is immediate or recorded as pending is the host's
    // business; the command only flips the ATS-only flag.
    if (ats && !ats_only) {
      volume->SetLockMode(flags | KovraFileSystem::LOCK_ATS_ONLY);
    } else if (scsi && ats_only) {
      volume->SetLockMode(flags & ~KovraFileSystem::LOCK_ATS_ONLY);
    }
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
