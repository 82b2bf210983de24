#include "commands/filesystem/volume_targeting.h"

#include <string>

#include "hostctl/host.h"

namespace TarvexCli {
namespace FileSystem {

namespace {

const char kIgnoreErrorsDescription[] =
    "Ignore errors encountered (if any) while retrieving information for each file system.";

}  // namespace

std::shared_ptr<CallSpec::InputSpec> GetSingleKovraVolumeInputSpec() {
  return AddParameters(CallSpec::InputSpec::New(),
                       {
                           {"volume-label", "l", CallSpec::PARAM_STRING, false,
                            "The label of the target Kovra volume."},
                           {"volume-uuid", "u", CallSpec::PARAM_STRING, false,
                            "The uuid of the target Kovra volume."},
                       });
}

std::shared_ptr<CallSpec::InputSpec> GetMultipleKovraVolumesInputSpec() {
  auto spec = AddParameters(CallSpec::InputSpec::New(),
                            {
                                {"volume-label", "l", CallSpec::PARAM_STRING_LIST, false,
                                 "The label of the target Kovra volume."},
                                {"volume-uuid", "u", CallSpec::PARAM_STRING_LIST, false,
                                 "The uuid of the target Kovra volume."},
                            });
  spec->AddParameter(IgnoreErrorInputParameter());
  return spec;
}

std::shared_ptr<CallSpec::ParameterSpec> IgnoreErrorInputParameter() {
  return MakeParameter(
      {"ignore-errors", "i", CallSpec::PARAM_FLAG, false, kIgnoreErrorsDescription});
}

std::unique_ptr<HostCtl::Storage::KovraFileSystem> GetSingleKovraVolume(const InputPtr& input,
                                                                        const OutputPtr& output) {
  const std::string label = input->GetParameter("volume-label");
  const std::string uuid = input->GetParameter("volume-uuid");
  if (!label.empty() && !uuid.empty()) {
    output->AddErrorMessage("You cannot specify both --volume-label and --volume-uuid.");
    return nullptr;
  }
  if (label.empty() && uuid.empty()) {
    output->AddErrorMessage(
        "A target Kovra volume must be specified either by --volume-label or --volume-uuid.");
    return nullptr;
  }
  try {
    auto storage = HostCtl::HostFactory::GetHost()->GetStorageInfo();
    auto volume = !uuid.empty() ? storage->GetKovraFileSystemByUUID(uuid)
                                : storage->GetKovraFileSystemByLabel(label);
    if (volume) return volume;
    output->AddErrorMessage(std::string("Kovra volume with ") +
                            (!uuid.empty() ? "uuid " + uuid : "label " + label) +
                            " could not be found.");
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
  return nullptr;
}

bool GetMultipleKovraVolumes(const InputPtr& input, const OutputPtr& output,
                             KovraVolumes& volumes) {
  const std::vector<std::string> labels = input->GetParameterList("volume-label");
  const std::vector<std::string> uuids = input->GetParameterList("volume-uuid");
  const bool ignore_errors = input->IsFlagSet("ignore-errors");
  bool all_found = true;
  try {
    auto storage = HostCtl::HostFactory::GetHost()->GetStorageInfo();
    if (labels.empty() && uuids.empty()) {
      volumes = storage->GetKovraFileSystems(HostCtl::emptyString);
      return true;
    }
    // Labels first, then uuids, each in the order given; every name is tried.
    auto fetch = [&](const std::vector<std::string>& keys, const char* kind, bool by_uuid) {
      for (const std::string& key : keys) {
        auto volume = by_uuid ? storage->GetKovraFileSystemByUUID(key)
                              : storage->GetKovraFileSystemByLabel(key);
        if (volume) {
          volumes.push_back(std::move(volume));
        } else if (!ignore_errors) {
          output->AddErrorMessage(std::string("Error fetching Kovra volume with ") + kind + " '" +
                                  key + "'");
          all_found = false;
        }
      }
    };
    fetch(labels, "label", false);
    fetch(uuids, "uuid", true);
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
    all_found = false;
  }
  return all_found || ignore_errors;
}

}  // namespace FileSystem
}  // namespace TarvexCli
