#include "commands/kovra/reclaim_config.h"

#include <cstdint>
#include <string>

#include "commands/filesystem/volume_targeting.h"
#include "hostctl/kovra_file_system.h"

namespace TarvexCli {
namespace FileSystem {

using HostCtl::Storage::KovraVolumeUnmapProperty;
using MetaObj::MetaInt;
using MetaObj::MetaString;

namespace {

const char kRecordName[] = "KovraReclaim";

// Fills the method and bandwidth that `method` asks for into `record`.
// Returns the message that refuses the combination, or null.
const char* ChooseMethod(const CallSpec::Input& input, const std::string& method,
                         const std::string& priority, KovraVolumeUnmapProperty& record) {
  if (method.empty()) {
    // Reclamation by priority is the default; the priority is sent as given,
    // even empty, and a bandwidth is ignored.
    record.method = "priority";
    record.bandwidth = 0;
    return nullptr;
  }
  if (method == "priority") {
    if (priority.empty()) return "reclaim-priority should be specified";
    record.method = method;
    record.bandwidth = 0;
    return nullptr;
  }
  if (method == "fixed") {
    if (!input.HasParameter("reclaim-bandwidth")) return "reclaim-bandwidth should be specified";
    // The library decides which bandwidths it accepts.
    record.method = method;
    record.bandwidth = static_cast<int32_t>(input.GetParameterInt("reclaim-bandwidth"));
    return nullptr;
  }
  return "Unsupported unmap method";
}

}  // namespace

std::shared_ptr<KovraReclaimConfigGet> KovraReclaimConfigGet::New() {
  return NewBoundCommand<KovraReclaimConfigGet>();
}

KovraReclaimConfigGet::KovraReclaimConfigGet() {
  SetDescription("Get space reclamation configuration parameters");
  SetDefaultOutputFormatter("simple");
  SetDefaultOutputParameter(
      "fields:KovraReclaim",
      "Reclaim Granularity,Reclaim Priority,Reclaim Method,Reclaim Bandwidth");
  SetDefaultOutputParameter("units:KovraReclaim.Reclaim Bandwidth", "MB/s");
  SetDefaultOutputParameter("units:KovraReclaim.Reclaim Granularity", "Bytes");
}

KovraReclaimConfigGet::~KovraReclaimConfigGet() = default;

std::shared_ptr<CallSpec::InputSpec> KovraReclaimConfigGet::GetInputSpecInternal() {
  return GetSingleKovraVolumeInputSpec();
}

std::shared_ptr<CallSpec::OutputSpec> KovraReclaimConfigGet::GetOutputSpecInternal() {
  return OutputSpecOf(EmptyStruct(kRecordName, {{"Reclaim Granularity", MetaObj::META_INT},
                                                {"Reclaim Priority", MetaObj::META_STRING},
                                                {"Reclaim Method", MetaObj::META_STRING},
                                                {"Reclaim Bandwidth", MetaObj::META_INT}}));
}

void KovraReclaimConfigGet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  auto volume = GetSingleKovraVolume(input, output);
  if (!volume) return;
  try {
    const KovraVolumeUnmapProperty property = volume->GetUnmapProperty();
    auto record = MetaObj::MetaStruct::New(kRecordName);
    // Widened from unsigned 32 bits, so that no granularity reads as negative.
    record->SetField("Reclaim Granularity", MetaInt::New(int64_t{property.granularity}));
    record->SetField("Reclaim Priority", MetaString::New(property.priority));
    record->SetField("Reclaim Method", MetaString::New(property.method));
    record->SetField("Reclaim Bandwidth", MetaInt::New(property.bandwidth));
    output->SetRootObject(record);
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

std::shared_ptr<KovraReclaimConfigSet> KovraReclaimConfigSet::New() {
  return NewBoundCommand<KovraReclaimConfigSet>();
}

KovraReclaimConfigSet::KovraReclaimConfigSet() {
  SetDescription("Set space reclamation configuration parameters");
}

KovraReclaimConfigSet::~KovraReclaimConfigSet() = default;

std::shared_ptr<CallSpec::InputSpec> KovraReclaimConfigSet::GetInputSpecInternal() {
  return AddParameters(
      GetSingleKovraVolumeInputSpec(),
      {
          {"reclaim-granularity", "g", CallSpec::PARAM_INT, false,
           "Minimum granularity of automatic space reclamation in bytes"},
          {"reclaim-priority", "p", CallSpec::PARAM_STRING, false,
           "Priority of automatic space reclamation. Supported options are %ENUM%.",
           StringEnum({{"none", ""}, {"low", ""}, {"medium", ""}, {"high", ""}})},
          {"reclaim-method", "m", CallSpec::PARAM_STRING, false,
           "Method of automatic space reclamation.  Supported options are %ENUM%.",
           StringEnum({{"priority", ""}, {"fixed", ""}})},
          {"reclaim-bandwidth", "b", CallSpec::PARAM_INT, false,
           "Space reclamation fixed bandwidth (MB/s)"},
      });
}

std::shared_ptr<CallSpec::OutputSpec> KovraReclaimConfigSet::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void KovraReclaimConfigSet::ExecuteInternal(const InputPtr& input, const OutputPtr& output) {
  auto volume = GetSingleKovraVolume(input, output);
  if (!volume) return;
  try {
    // A bandwidth alone changes nothing: it only matters to the "fixed" method.
    if (!input->HasParameter("reclaim-granularity") && !input->HasParameter("reclaim-priority") &&
        !input->HasParameter("reclaim-method")) {
      output->AddErrorMessage(
          "You have to specify at least one of - reclaim-granularity, reclaim-priority, "
          "reclaim-method");
      return;
    }
    KovraVolumeUnmapProperty record;
    if (input->HasParameter("reclaim-granularity")) {
      const int64_t granularity = input->GetParameterInt("reclaim-granularity");
      if (granularity < 0) {
        output->AddErrorMessage("reclaim-granularity must be greater than or equal to zero");
        return;
      }
      // The record holds 32 bits; a larger number keeps its low 32 bits.
      record.granularity = static_cast<uint32_t>(granularity);
    }
    record.priority = input->GetParameter("reclaim-priority");
    const char* refusal =
        ChooseMethod(*input, input->GetParameter("reclaim-method"), record.priority, record);
    if (refusal) {
      output->AddErrorMessage(refusal);
      return;
    }
    volume->SetUnmapProperty(record);
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException& e) {
    output->AddErrorMessage(e.what());
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
