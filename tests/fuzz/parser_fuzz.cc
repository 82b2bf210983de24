// libFuzzer target for the argument parser. The input is split at NUL bytes
// into arguments and parsed against a spec with every kind of parameter.
// Besides crashes and sanitizer reports it checks what callers rely on: a
// usage error is one line, and what parses satisfies the spec.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/parser.h"

namespace {

using namespace Cordra::CallSpec;

std::shared_ptr<InputSpec> MakeSpec() {
  auto spec = InputSpec::New();
  const auto add = [&](const char* name, ParameterType type, const char* short_name,
                       bool required) {
    auto param = ParameterSpec::New(name, type);
    param->SetShortName(short_name);
    param->SetRequired(required);
    spec->AddParameter(param);
    return param;
  };
  add("volume-label", PARAM_STRING, "l", false);
  add("volume-uuid", PARAM_STRING_LIST, "u", false);
  add("readonly", PARAM_FLAG, "r", false);
  add("enabled", PARAM_BOOL, "e", false);
  auto range = ParameterConstraint::New(CONSTRAINT_INT_RANGE);
  range->SetIntRange(1, 4294967295LL);
  add("maxqueuedepth", PARAM_INT, "q", false)->SetConstraint(range);
  add("reclaim-unit", PARAM_INT, "n", false);
  auto choices = ParameterConstraint::New(CONSTRAINT_STRING_ENUM);
  choices->AddStringEnum("none", "No check");
  choices->AddStringEnum("quick");
  add("liveness", PARAM_STRING, "v", false)->SetConstraint(choices);
  add("share", PARAM_STRING, "", true);
  return spec;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::shared_ptr<InputSpec> spec = MakeSpec();
  std::vector<std::string> args;
  std::string current;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  args.push_back(current);

  try {
    auto input = Cordra::Frame::ParseArguments(*spec, args);
    if (!input->HasParameter("share")) std::abort();
    const int64_t depth = input->GetParameterInt("maxqueuedepth");
    if (input->HasParameter("maxqueuedepth") && (depth < 1 || depth > 4294967295LL)) std::abort();
    const std::string liveness = input->GetParameter("liveness");
    if (input->HasParameter("liveness") && liveness != "none" && liveness != "quick") std::abort();
  } catch (const Cordra::Frame::UsageError& e) {
    const std::string message = e.what();
    if (message.empty() || message.find('\n') != std::string::npos) std::abort();
  }
  return 0;
}
