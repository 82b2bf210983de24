// Operations every volume has, whatever its type; where handles are made.
#include <algorithm>
#include <cstdint>

#include "hostctl/impl/handles.h"
#include "hostctl/rules/volume_rules.h"

namespace HostCtl {
namespace Sim {

struct HandleBlock::Memory {
  char* begin;
  char* next;  // the first slot not taken
  char* end;
  size_t live = 0;      // handles in it not deleted yet
  bool filling = true;  // its HandleBlock is alive
};

namespace {

// A slot holds a handle of any kind.
constexpr size_t kSlot = std::max({sizeof(Pooled<StrelCtl::Storage::FileSystemImpl>),
                                   sizeof(Pooled<StrelCtl::Storage::KovraFileSystemImpl>),
                                   sizeof(Pooled<StrelCtl::Storage::NetworkFileSystemImpl>)});

HandleBlock::Memory* g_filling = nullptr;

// Every block with handles in it or still filling. Never destroyed, so that
// a handle deleted during exit still finds its block.
std::vector<HandleBlock::Memory*>& Blocks() {
  static auto* blocks = new std::vector<HandleBlock::Memory*>;
  return *blocks;
}

void FreeIfDone(HandleBlock::Memory* memory) {
  if (memory->live > 0 || memory->filling) return;
  std::vector<HandleBlock::Memory*>& blocks = Blocks();
  blocks.erase(std::find(blocks.begin(), blocks.end(), memory));
  ::operator delete(memory->begin);
  delete memory;
}

}  // namespace

HandleBlock::HandleBlock(size_t count) : outer_(g_filling) {
  auto* begin = static_cast<char*>(::operator new(count* kSlot));
  memory_ = new Memory{begin, begin, begin + count * kSlot};
  Blocks().push_back(memory_);
  g_filling = memory_;
}

HandleBlock::~HandleBlock() {
  g_filling = outer_;
  memory_->filling = false;
  FreeIfDone(memory_);
}

void* HandleBlock::Take(size_t size) {
  Memory* memory = g_filling;
  if (!memory || size > kSlot || memory->next == memory->end) return ::operator new(size);
  void* slot = memory->next;
  memory->next += kSlot;
  ++memory->live;
  return slot;
}

void HandleBlock::Give(void* handle) {
  const auto at = reinterpret_cast<uintptr_t>(handle);
  for (Memory* memory : Blocks()) {
    if (at >= reinterpret_cast<uintptr_t>(memory->begin) &&
        at < reinterpret_cast<uintptr_t>(memory->end)) {
      --memory->live;
      FreeIfDone(memory);
      return;
    }
  }
  ::operator delete(handle);
}

}  // namespace Sim
}  // namespace HostCtl

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
    return HostCtl::Sim::NewHandle<StrelCtl::Storage::KovraFileSystemImpl>(volumes, index);
  }
  if (volumes.IsNas(index)) {
    return HostCtl::Sim::NewHandle<StrelCtl::Storage::NetworkFileSystemImpl>(volumes, index);
  }
  return HostCtl::Sim::NewHandle<StrelCtl::Storage::FileSystemImpl>(volumes, index);
}

}  // namespace Sim
}  // namespace HostCtl
