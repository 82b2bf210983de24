// Operations every volume has, whatever its type.
#include "hostctl/handles.h"
#include "hostctl/volume_rules.h"

namespace StrelCtl {
namespace Storage {

FileSystemImpl::FileSystemImpl(std::shared_ptr<VolumeRecord> record) : record_(std::move(record)) {}

void FileSystemImpl::Mount(int option) {
  CheckVolumeFault(Op::Mount, *record_);
  ChangeVolume(*record_, [&](Db& db, VolumeRecord& v) { HostCtl::Sim::ApplyMount(db, v, option); });
}

int FileSystemImpl::Unmount(int option) {
  CheckVolumeFault(Op::Unmount, *record_);
  return ChangeVolume(
      *record_, [&](Db& db, VolumeRecord& v) { return HostCtl::Sim::ApplyUnmount(db, v, option); });
}

HostCtl::Sim::VolumeRecord& FileSystemImpl::Full() {
  return HostCtl::Sim::CompleteVolume(HostCtl::Sim::Session::Get().db(), *record_);
}

bool FileSystemImpl::IsMounted() {
  CheckVolumeFault(Op::IsMounted, *record_);
  return record_->mounted;
}

int64_t FileSystemImpl::GetCapacity() {
  CheckVolumeFault(Op::GetCapacity, *record_);
  return record_->capacity;
}

int64_t FileSystemImpl::GetUsedSpace() {
  CheckVolumeFault(Op::GetUsedSpace, *record_);
  return record_->used;
}

std::string FileSystemImpl::GetType() {
  CheckVolumeFault(Op::GetType, *record_);
  return record_->type;
}

std::string FileSystemImpl::GetMountPoint() {
  CheckVolumeFault(Op::GetMountPoint, *record_);
  return record_->mount_point;
}

std::string FileSystemImpl::GetVolumeName() {
  CheckVolumeFault(Op::GetVolumeName, *record_);
  return record_->name;
}

std::string FileSystemImpl::GetUuid() {
  CheckVolumeFault(Op::GetUuid, *record_);
  return record_->uuid;
}

HostCtl::Storage::ArrakState FileSystemImpl::GetArrakState() {
  CheckVolumeFault(Op::GetArrakState, *record_);
  return static_cast<HostCtl::Storage::ArrakState>(record_->arrak);
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

std::unique_ptr<Storage::FileSystem> MakeVolumeHandle(std::shared_ptr<VolumeRecord> record) {
  if (record->IsKovra()) return std::make_unique<StrelCtl::Storage::KovraFileSystemImpl>(record);
  if (record->IsNas()) return std::make_unique<StrelCtl::Storage::NetworkFileSystemImpl>(record);
  return std::make_unique<StrelCtl::Storage::FileSystemImpl>(record);
}

void RequireKovra(const VolumeRecord& v) {
  if (!v.IsKovra()) {
    throw Lib::HostCtlException("Volume '" + v.name + "' is not a Kovra volume (its type is " +
                                v.type + ")");
  }
}

}  // namespace Sim
}  // namespace HostCtl
