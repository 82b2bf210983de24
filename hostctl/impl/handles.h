// What the host-control handles share: making a handle of a volume's own
// kind, and writing a change to a volume's row.
#ifndef HOSTCTL_IMPL_HANDLES_H_
#define HOSTCTL_IMPL_HANDLES_H_

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "hostctl/lib.h"
#include "hostctl/rules/faults.h"
#include "hostctl/store/records.h"
#include "hostctl/store/session.h"
#include "hostctl/store/volume_rows.h"
#include "hostctl/store/volume_set.h"
#include "strelctl/storage.h"

namespace HostCtl {
namespace Sim {

// Volume `index` of `volumes`: a Kovra volume as a KovraFileSystemImpl, a
// NAS volume as a NetworkFileSystemImpl, any other as a FileSystemImpl.
std::unique_ptr<Storage::FileSystem> MakeVolumeHandle(VolumeSet& volumes, size_t index);

// While one is alive, the volume handles made by NewHandle() go into one
// block of memory for `count` of them instead of one heap object each; the
// block is freed with its last handle. For one thread, like the session.
class HandleBlock {
 public:
  explicit HandleBlock(size_t count);
  ~HandleBlock();
  HandleBlock(const HandleBlock&) = delete;
  HandleBlock& operator=(const HandleBlock&) = delete;

  // A slot of the block being filled, or a heap object when there is none
  // (or `size` does not fit a slot); Give() takes either back.
  static void* Take(size_t size);
  static void Give(void* handle);

  struct Memory;

 private:
  Memory* memory_;
  Memory* outer_;  // the block in use before this one
};

// A handle of class T placed by HandleBlock: deleting it through any of its
// bases (their destructors are virtual) gives its memory back the same way.
template <class T>
class Pooled final : public T {
 public:
  using T::T;
  static void* operator new(size_t size) { return HandleBlock::Take(size); }
  static void operator delete(void* handle) { HandleBlock::Give(handle); }
};

// A handle of class T on volume `index` of `volumes`.
template <class T>
std::unique_ptr<T> NewHandle(VolumeSet& volumes, size_t index) {
  return std::make_unique<Pooled<T>>(volumes, index);
}

// The discovered Kovra volume with that label and/or UUID, or null.
std::unique_ptr<Storage::KovraFileSystem> FindKovraVolume(const std::string* label,
                                                          const std::string* uuid);

// Runs `change(db, row)` on the volume's current row inside one write
// transaction (so the decision and the write see the same state), commits,
// and makes the handle show the row as written. Returns what `change` does.
template <typename Change>
auto ChangeVolume(VolumeRecord& handle, Change&& change)
    -> decltype(change(std::declval<Db&>(), std::declval<VolumeRecord&>())) {
  Session& session = Session::Get();
  Db& db = session.db();
  Transaction tx(db);
  std::optional<VolumeRecord> row = LoadVolumeById(db, handle.id);
  if (!row) throw Lib::HostCtlException("Volume '" + handle.name + "' no longer exists");
  auto finish = [&] {
    tx.Commit();
    session.Wrote();
    std::shared_ptr<VolumeBatch> batch = handle.batch;
    handle = *row;
    handle.batch = batch;
  };
  if constexpr (std::is_void_v<decltype(change(db, *row))>) {
    change(db, *row);
    finish();
  } else {
    auto result = change(db, *row);
    finish();
    return result;
  }
}

}  // namespace Sim
}  // namespace HostCtl

// The handle classes live in StrelCtl::Storage and call these on every
// operation; naming them once here keeps each handle file to its behaviour.
namespace StrelCtl {
namespace Storage {
using HostCtl::Sim::ChangeVolume;
using HostCtl::Sim::Db;
using HostCtl::Sim::Op;
using HostCtl::Sim::VolumeRecord;
}  // namespace Storage
}  // namespace StrelCtl

#endif  // HOSTCTL_IMPL_HANDLES_H_
