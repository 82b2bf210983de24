// storage nfs41 list: one "NasMount" row per NFS v4.1 volume the host knows
// (hidden ones left out), or per protocol-endpoint volume with "pe-only",
// with all its servers and its security flavour.
#ifndef COMMANDS_NFS41_NFS41_VOLUME_LIST_H_
#define COMMANDS_NFS41_NFS41_VOLUME_LIST_H_

#include <memory>

#include "commands/command_support.h"
#include "hostctl/network_file_system.h"

namespace TarvexCli {
namespace FileSystem {

class NFS41VolumeList : public virtual Command {
 public:
  static std::shared_ptr<NFS41VolumeList> New();
  NFS41VolumeList();
  ~NFS41VolumeList() override;

  // The host library's text for a security flavour; NFS_AUTH_UNKNOWN_STR for
  // a value it does not name. Static text.
  static const char* TranslateSecurity(HostCtl::Storage::NetworkFileSystem::SecurityType type);
  // "Supported", "Not Supported" or "Unknown". Static text.
  static const char* TranslateArrak(HostCtl::Storage::ArrakState state);

 protected:
  std::shared_ptr<CallSpec::InputSpec> GetInputSpecInternal() override;
  std::shared_ptr<CallSpec::OutputSpec> GetOutputSpecInternal() override;
  virtual std::shared_ptr<MetaObj::MetaStruct> GetOutputStructure();
  // The list, also when empty or when unreadable mounts were skipped (each
  // with a message).
  void ExecuteInternal(const InputPtr& input, const OutputPtr& output) override;
};

}  // namespace FileSystem
}  // namespace TarvexCli

#endif  // COMMANDS_NFS41_NFS41_VOLUME_LIST_H_
