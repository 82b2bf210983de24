#include "commands/kovra/host_list.h"

#include <string>

#include "commands/filesystem/volume_targeting.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Storage::KovraFileSystem;
using HostCtl::Storage::KovraUserInfo;
using MetaObj::MetaInt;
using MetaObj::MetaString;

namespace {

// The host's lock mode in use when it locks with ATS only.
const uint8_t kHostAtsOnly = 4;

}  // namespace

std::shared_ptr<KovraVolumeHostList> KovraVolumeHostList::New() {
  return NewBoundCommand<KovraVolumeHostList>();
}

KovraVolumeHostList::KovraVolumeHostList() {
  SetDescription("List hosts accessing a particular Kovra Volume.");
  SetDefaultOutputFormatter("table");
  SetDefaultOutputParameter(
      "fields:VolumeLockModeInUse",
      "Heartbeat UUID,MAC Address,Driver Version,Heartbeat Offset,Locking Mode,Status");
  AddExample("-l datastore1",
             "List hosts using volume 'datastore1' with default liveness check of 'none'.");
  AddExample("-l datastore1 -v quick",
             "List hosts using volume 'datastore1' with liveness check of 'quick'.");
}

KovraVolumeHostList::~KovraVolumeHostList() = default;

std::shared_ptr<CallSpec::InputSpec> KovraVolumeHostList::GetInputSpecInternal() {
  return AddParameters(
      GetSingleKovraVolumeInputSpec(),
      {
          {"liveness", "v", CallSpec::PARAM_STRING, false,
           "The type of liveness check to perform on the Kovra volume. Valid values are %ENUM% "
           "(default is none).",
           StringEnum({{"none", "No liveness check, just scan heartbeats (default)"},
                       {"quick", "Quick liveness check, wait for one heartbeat interval"}})},
      });
}

std::shared_ptr<CallSpec::OutputSpec> KovraVolumeHostList::GetOutputSpecInternal() {
  return OutputSpecOf(StructList(GetOutputStructure()));
}

std::shared_ptr<MetaObj::MetaStruct> KovraVolumeHostList::GetOutputStructure() {
  return EmptyStruct("VolumeLockModeInUse", {{"Heartbeat UUID", MetaObj::META_STRING},
                                             {"MAC Address", MetaObj::META_STRING},
                                             {"Driver Version", MetaObj::META_STRING},
                                             {"Heartbeat Offset", MetaObj::META_INT},
                                             {"Locking Mode", MetaObj::META_STRING},
                                             {"Status", MetaObj::META_STRING}});
}

void KovraVolumeHostList::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  // Without "quick" the heartbeats are only scanned, not watched for liveness.
  const bool quick = input->GetParameter("liveness") == "quick";
  auto volume = GetSingleKovraVolume(input, output);
  if (!volume) return;
  try {
    auto list = StructList(GetOutputStructure());
    const std::vector<KovraUserInfo> hosts = volume->GetUsers(quick);
    UpdateList(volume.get(), hosts, list, output);
    output->SetRootObject(list);
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

const char* KovraVolumeHostList::TranslateLockModeInUse(uint8_t lock_mode_in_use) {
  return lock_mode_in_use == kHostAtsOnly ? "ATS-only" : "ATS+SCSI";
}

const char* KovraVolumeHostList::TranslateStatus(uint32_t volume_flags, uint8_t lock_mode_in_use) {
  const bool volume_ats = (volume_flags & KovraFileSystem::LOCK_ATS_ONLY) != 0;
  const bool upgrading = (volume_flags & KovraFileSystem::LOCK_UPGRADE_PENDING) != 0;
  const bool downgrading = (volume_flags & KovraFileSystem::LOCK_DOWNGRADE_PENDING) != 0;
  const bool host_ats = (lock_mode_in_use & kHostAtsOnly) != 0;
  if (upgrading) {
    if (!host_ats) return "ATS Upgrade Pending";
    return downgrading ? "ATS Downgrade Pending" : "Normal";
  }
  if (downgrading) {
    if (host_ats) return "ATS Downgrade Pending";
    // The host has left ATS-only; the volume must not still claim it.
    return volume_ats ? "INVALID (needs unmount)" : "Normal";
  }
  return volume_ats == host_ats ? "Normal" : "INVALID (needs unmount)";
}

void KovraVolumeHostList::PopulateHostListSpec(const std::shared_ptr<MetaObj::MetaStruct>& row,
                                               KovraFileSystem* volume, const KovraUserInfo& host) {
  row->SetField("Heartbeat UUID", MetaString::New(host.heartbeatUuid));
  row->SetField("MAC Address", MetaString::New(host.macAddress.GetStringAddress()));
  row->SetField("Driver Version", MetaString::New(std::to_string(host.driverMajorVersion) + "." +
                                                  std::to_string(host.driverMinorVersion)));
  row->SetField("Heartbeat Offset", MetaInt::New(host.heartbeatOffset));
  row->SetField("Locking Mode", MetaString::New(TranslateLockModeInUse(host.lockModeInUse)));
  row->SetField("Status",
                MetaString::New(TranslateStatus(volume->GetLockMode(), host.lockModeInUse)));
}

void KovraVolumeHostList::UpdateList(KovraFileSystem* volume,
                                     const std::vector<KovraUserInfo>& hosts,
                                     const std::shared_ptr<MetaObj::MetaList>& list,
                                     const OutputPtr& /*output*/) {
  for (const KovraUserInfo& host : hosts) {
    auto row = GetOutputStructure();
    PopulateHostListSpec(row, volume, host);
    list->Add(row);
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
