#include "cordra/command.h"

#include "cordra/exception.h"

namespace Cordra {

CordraToolException::~CordraToolException() = default;

namespace AutoCli {

CommandSpec::~CommandSpec() = default;
Command::~Command() = default;

void CommandSpec::SetDefaultOutputParameter(const std::string& key, const std::string& value) {
  for (auto& param : out_params_) {
    if (param.first == key) {
      param.second = value;
      return;
    }
  }
  out_params_.emplace_back(key, value);
}

std::string CommandSpec::GetDefaultOutputParameter(const std::string& key) const {
  for (const auto& param : out_params_) {
    if (param.first == key) return param.second;
  }
  return std::string();
}

}  // namespace AutoCli
}  // namespace Cordra
