#include "commands/kovra/lockmode_list.h"

#include <string>

#include "commands/filesystem/kovra_version.h"
#include "commands/filesystem/per_volume.h"
#include "commands/filesystem/volume_targeting.h"
#include "hostctl/host.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Storage::KovraFileSystem;
using MetaObj::MetaBool;
using MetaObj::MetaString;

namespace {

const char kOptionGroup[] = "Kovra3";
const char kOnlineUpgradeOption[] = "EnableOnlineATSUpgrade";

// Whether the host allows an online upgrade to ATS-only. The option must be
// an integer option: when it is not, there is no permission to read, so
// `allowed` stays unset and the command reports it like any other failure to
// read the option (a message, no result). Returns false in that case.
bool ReadOnlineUpgradeOption(const OutputPtr& output, bool& allowed) {
  auto options = HostCtl::HostFactory::GetHost()->GetAdvancedOptions();
  auto group = options->GetOptionGroup(kOptionGroup);
  std::unique_ptr<HostCtl::Adv::AdvancedOption> option = group->GetOption(kOnlineUpgradeOption);
  auto* integer = dynamic_cast<HostCtl::Adv::AdvancedIntegerOption*>(option.get());
  if (!integer) {
    output->AddErrorMessage(std::string("Advanced option '") + kOnlineUpgradeOption +
                            "' in group '" + kOptionGroup + "' is not an integer option.");
    return false;
  }
  allowed = integer->GetValue() != 0;
  return true;
}

}  // namespace

std::shared_ptr<KovraVolumeLockModeList> KovraVolumeLockModeList::New() {
  return NewBoundCommand<KovraVolumeLockModeList>();
}

KovraVolumeLockModeList::KovraVolumeLockModeList() {
  SetDescription(
      "List the on-disk critical section locking mode for Kovra volumes available on this host.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter("fields:VolumeLockModeConfiguration",
                            "Volume Name,UUID,Type,Locking Mode,ATS Compatible,"
                            "ATS Upgrade Modes,ATS Incompatibility Reason");
  AddExample("", "Show lockmodes for all Kovra volumes.");
  AddExample("-l datastore1", "Show lockmode for Kovra volume with label 'datastore1'.");
  AddExample("-l datastore1 -l datastore2",
             "Show lockmodes for Kovra volume with label 'datastore1' and Kovra volume with "
             "label 'datastore2'.");
  AddExample("-l datastore1 -u 50ac1b12-6b9eebe0-6765-80c16e6d3408",
             "Show lockmodes for Kovra volume with label 'datastore1' and Kovra volume with "
             "uuid '50ac1b12-6b9eebe0-6765-80c16e6d3408'.");
}

KovraVolumeLockModeList::~KovraVolumeLockModeList() = default;

std::shared_ptr<CallSpec::InputSpec> KovraVolumeLockModeList::GetInputSpecInternal() {
  return GetMultipleKovraVolumesInputSpec();
}

std::shared_ptr<CallSpec::OutputSpec> KovraVolumeLockModeList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> KovraVolumeLockModeList::GetOutputStructure() {
  return EmptyStruct("VolumeLockModeConfiguration",
                     {{"Volume Name", MetaObj::META_STRING},
                      {"UUID", MetaObj::META_STRING},
                      {"Type", MetaObj::META_STRING},
                      {"Locking Mode", MetaObj::META_STRING},
                      {"ATS Compatible", MetaObj::META_BOOL},
                      {"ATS Upgrade Modes", MetaObj::META_STRING},
                      {"ATS Incompatibility Reason", MetaObj::META_STRING}});
}

void KovraVolumeLockModeList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  const bool ignore_errors = input->IsFlagSet("ignore-errors");
  try {
    bool online_upgrade = false;
    if (!ReadOnlineUpgradeOption(output, online_upgrade)) return;
    auto list = StructList(GetOutputStructure());
    KovraVolumes volumes;
    if (!GetMultipleKovraVolumes(input, output, volumes)) return;
    UpdateFilesystemList(volumes, ignore_errors, online_upgrade, list, output);
    output->SetRootObject(list);
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

const char* KovraVolumeLockModeList::TranslateLockMode(uint32_t flags) {
  if (flags & KovraFileSystem::LOCK_ATS_ONLY) return "ATS";
  if (flags & KovraFileSystem::LOCK_UPGRADE_PENDING) return "ATS UPGRADE PENDING";
  if (flags & KovraFileSystem::LOCK_DOWNGRADE_PENDING) return "ATS DOWNGRADE PENDING";
  return "ATS+SCSI";
}

void KovraVolumeLockModeList::UpdateATSCompatibility(
    bool online_upgrade, KovraFileSystem* volume, const std::shared_ptr<MetaObj::MetaStruct>& row) {
  bool compatible = true;
  const char* modes = nullptr;
  const char* reason = nullptr;  // null: an empty reason
  if (volume->GetLockMode() &
      (KovraFileSystem::LOCK_ATS_ONLY | KovraFileSystem::LOCK_UPGRADE_PENDING)) {
    modes = "No upgrade needed";
  } else if (volume->GetMajorVersion() == 3) {
    compatible = false;
    modes = "None";
    reason = "ATS on Kovra-3 not supported";
  } else if (volume->GetAtsSupport() != 1) {
    compatible = false;
    modes = "None";
    reason = "Device does not support ATS";
  } else if (volume->GetExtents().size() > 1) {
    // A volume spanning several extents can only be upgraded offline.
    modes = "Offline";
  } else {
    modes = online_upgrade ? "Online/Offline" : "Offline";
  }
  row->SetField("ATS Compatible", MetaBool::New(compatible));
  row->SetField("ATS Upgrade Modes", MetaString::New(modes));
  row->SetField("ATS Incompatibility Reason", reason ? MetaString::New(reason) : MetaString::New());
}

void KovraVolumeLockModeList::PopulateLockModeQuerySpec(
    bool online_upgrade, const std::shared_ptr<MetaObj::MetaStruct>& row, KovraFileSystem* volume) {
  row->SetField("Volume Name", MetaString::New(volume->GetVolumeName()));
  row->SetField("UUID", MetaString::New(volume->GetUuid()));
  row->SetField("Type", MetaString::New(GetKovraVersionString(volume)));
  row->SetField("Locking Mode", MetaString::New(TranslateLockMode(volume->GetLockMode())));
  UpdateATSCompatibility(online_upgrade, volume, row);
}

void KovraVolumeLockModeList::UpdateFilesystemList(const KovraVolumes& volumes, bool ignore_errors,
                                                   bool online_upgrade,
                                                   const std::shared_ptr<MetaObj::MetaList>& list,
                                                   const OutputPtr& output) {
  ForEachVolumeSkippingFailures(volumes, ignore_errors, output, [&](KovraFileSystem& volume) {
    auto row = GetOutputStructure();
    PopulateLockModeQuerySpec(online_upgrade, row, &volume);
    list->Add(row);
  });
}

}  // namespace FileSystem
}  // namespace TarvexCli
