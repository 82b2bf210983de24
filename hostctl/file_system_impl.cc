// Operations every volume has, whatever its type.
#include "hostctl/handles.h"
#include "hostctl/volume_rules.h"

namespace StrelCtl {
namespace Storage {

FileSystemImpl::FileSystemImpl(HostCtl::Sim::VolumeSet& volumes, size_t index)
    : set_(volumes), index_(static_cast<uint32_t>(index)) {
  set_.Retain();
}

FileSystemImpl::~FileSystemImpl() { set_.Release(); }

void FileSystemImpl::CheckVolumeFault(Op op) const {
  // Every getter checks: on a large listing, finding the texts costs more
  // than the getter when no fault is armed.
  if (!HostCtl::Sim::AnyFaultArmed()) return;
  HostCtl::Sim::CheckFault(op, {set_.Name(index_), set_.Uuid(index_)});
}

void FileSystemImpl::RequireKovra() const {
  if (!set_.IsKovra(index_)) {
    throw HostCtl::Lib::HostCtlException("Volume '" + std::string(set_.Name(index_)) +
                                         "' is not a Kovra volume (its type is " +
                                         std::string(set_.Type(index_)) + ")");
  }
}

HostCtl::Sim::VolumeRecord& FileSystemImpl::Full() {
  return set_.Full(HostCtl::Sim::Session::Get().db(), index_);
}

void FileSystemImpl::Mount(int option) {
  CheckVolumeFault(Op::Mount);
  ChangeVolume(Full(), [&](Db& db, VolumeRecord& v) { HostCtl::Sim::ApplyMount(db, v, option); });
}

int FileSystemImpl::Unmount(int option) {
  CheckVolumeFault(Op::Unmount);
  return ChangeVolume(
      Full(), [&](Db& db, VolumeRecord& v) { return HostCtl::Sim::ApplyUnmount(db, v, option); });
}

bool FileSystemImpl::IsMounted() {
  CheckVolumeFault(Op::IsMounted);
  return set_.Mounted(index_);
}

int64_t FileSystemImpl::GetCapacity() {
  CheckVolumeFault(Op::GetCapacity);
  return set_.Capacity(index_);
}

int64_t FileSystemImpl::GetUsedSpace() {
  CheckVolumeFault(Op::GetUsedSpace);
  return set_.Used(index_);
}

std::string FileSystemImpl::GetType() {
  CheckVolumeFault(Op::GetType);
  return std::string(set_.Type(index_));
}

std::string FileSystemImpl::GetMountPoint() {
  CheckVolumeFault(Op::GetMountPoint);
  return set_.MountPoint(index_);
}

std::string FileSystemImpl::GetVolumeName() {
  CheckVolumeFault(Op::GetVolumeName);
  return std::string(set_.Name(index_));
}

std::string FileSystemImpl::GetUuid() {
  CheckVolumeFault(Op::GetUuid);
  return std::string(set_.Uuid(index_));
}

HostCtl::Storage::ArrakState FileSystemImpl::GetArrakState() {
  CheckVolumeFault(Op::GetArrakState);
  return static_cast<HostCtl::Storage::ArrakState>(Full().arrak);
}

DiskLunPartitionImpl::DiskLunPartitionImpl(std::shared_ptr<HostCtl::Sim::ExtentRecord> record)
    : record_(std::move(record)) {}

std::string DiskLunPartitionImpl::GetDeviceName() {
  HostCtl::Sim::CheckFault(Op::GetDeviceName, {record_->device});
  return record_->device;
}

unsigned int DiskLunPartitionImpl::GetPartitionNumber() {
  HostCtl::Sim::CheckFault(Op::GetPartitionNumber, {record_->device});
  return record_->partition;
}

}  // namespace Storage
}  // namespace StrelCtl

namespace HostCtl {
namespace Sim {

std::unique_ptr<Storage::FileSystem> MakeVolumeHandle(VolumeSet& volumes, size_t index) {
  if (volumes.IsKovra(index)) {
    return std::make_unique<StrelCtl::Storage::KovraFileSystemImpl>(volumes, index);
  }
  if (volumes.IsNas(index)) {
    return std::make_unique<StrelCtl::Storage::NetworkFileSystemImpl>(volumes, index);
  }
  return std::make_unique<StrelCtl::Storage::FileSystemImpl>(volumes, index);
}

}  // namespace Sim
}  // namespace HostCtl
