// storage kovra pbcache get / reset: the statistics of the host-wide
// pointer-block cache of Kovra volumes, with the size of the "kovra3" kernel
// heap. Neither command takes a parameter.
#ifndef COMMANDS_KOVRA_PBCACHE_H_
#define COMMANDS_KOVRA_PBCACHE_H_

#include <memory>

#include "commands/command_support.h"

namespace TarvexCli {
namespace FileSystem {

class KovraPBCacheGet : public virtual Command {
 public:
  static std::shared_ptr<KovraPBCacheGet> New();
  KovraPBCacheGet();

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // One "KovraPBCacheGet" structure.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  // Nine integer fields, in display units (MiB, TiB, KiB, %).
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // Byte counts are divided down by the command itself, truncating; a failure
  // of the host is reported with a fixed message, not the host's own.
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 public:
  ~KovraPBCacheGet() override;
};

class KovraPBCacheReset : public virtual Command {
 public:
  static std::shared_ptr<KovraPBCacheReset> New();
  KovraPBCacheReset();

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  // A bool, true once the statistics were reset.
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;

 public:
  ~KovraPBCacheReset() override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_KOVRA_PBCACHE_H_
