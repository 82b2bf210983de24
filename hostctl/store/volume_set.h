// The volumes one query loaded, as the host-control handles made from it and
// the scoped cache share them. A listing's set is compact: per volume a fixed
// summary, and the texts of every volume in one block; the full records are
// made for the whole set at once, the first time a handle needs a field the
// summary lacks or changes its volume. Any other query's set holds full
// records from the start.
#ifndef HOSTCTL_STORE_VOLUME_SET_H_
#define HOSTCTL_STORE_VOLUME_SET_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hostctl/store/records.h"
#include "hostctl/store/volume_rows.h"

namespace HostCtl {
namespace Sim {

class Db;
class VolumeSetRef;

// Counted by its holders (VolumeSetRef, handles); for one thread, like the
// session.
class VolumeSet {
 public:
  // The volumes `query` finds; with query.summary only their summaries.
  static VolumeSetRef Load(Db& db, const VolumeQuery& query);
  // A set of the one volume `record`, e.g. one just made.
  static VolumeSetRef Of(VolumeRecord record);

  VolumeSet(const VolumeSet&) = delete;
  VolumeSet& operator=(const VolumeSet&) = delete;

  void Retain() { ++refs_; }
  void Release() {
    if (--refs_ == 0) delete this;
  }

  size_t size() const { return complete_ ? records_.size() : summaries_.size(); }
  bool empty() const { return size() == 0; }

  // The summary fields of volume `i`. A view is valid until the next Full().
  int64_t Id(size_t i) const;
  std::string_view Type(size_t i) const;
  std::string_view Name(size_t i) const;
  std::string_view Uuid(size_t i) const;
  std::string MountPoint(size_t i) const;
  bool Mounted(size_t i) const;
  int64_t Capacity(size_t i) const;
  int64_t Used(size_t i) const;
  uint32_t Version(size_t i) const;
  bool IsKovra(size_t i) const { return Type(i) == "Kovra"; }
  bool IsNas(size_t i) const { return Type(i) == "NFS" || Type(i) == "NFS41"; }

  // Volume `i` with every field read. On a listing's set the first call
  // reads the other fields of all its volumes at once (a row deleted since
  // keeps the defaults); after a failed read the next call tries again.
  VolumeRecord& Full(Db& db, size_t i);
  // The extents of volume `i`, read for every volume of the set at once.
  const std::vector<std::shared_ptr<ExtentRecord>>& Extents(Db& db, size_t i);

 private:
  // One volume of a listing's set. Its texts start at `text` in text_: the
  // name, the UUID, the mount point unless it is the volume's path under its
  // UUID, and the type when it has no number; each after its length.
  struct Summary {
    int64_t id;
    int64_t capacity;
    int64_t used;
    uint32_t text;
    uint32_t version;
    uint8_t type;  // index in types_, or kTypeInText
    uint8_t flags;
  };
  struct Texts;

  VolumeSet();
  ~VolumeSet();

  void Add(const VolumeRecord& row);
  Texts TextsOf(size_t i) const;

  int refs_ = 0;
  // True once records_ holds every volume; the summaries are then gone.
  bool complete_ = false;
  int64_t host_ = 0;  // whose view of the volumes
  std::vector<Summary> summaries_;
  std::string text_;                // every summary's texts, one after another
  std::vector<std::string> types_;  // the distinct types, which summaries name by number
  std::vector<VolumeRecord> records_;
  std::shared_ptr<VolumeBatch> batch_;  // what the volumes' extents are read for
};

// A counted reference to a VolumeSet.
class VolumeSetRef {
 public:
  VolumeSetRef() = default;
  explicit VolumeSetRef(VolumeSet* set) : set_(set) {
    if (set_) set_->Retain();
  }
  VolumeSetRef(const VolumeSetRef& other) : VolumeSetRef(other.set_) {}
  VolumeSetRef(VolumeSetRef&& other) noexcept : set_(std::exchange(other.set_, nullptr)) {}
  VolumeSetRef& operator=(VolumeSetRef other) noexcept {
    std::swap(set_, other.set_);
    return *this;
  }
  ~VolumeSetRef() {
    if (set_) set_->Release();
  }

  VolumeSet* get() const { return set_; }
  VolumeSet& operator*() const { return *set_; }
  VolumeSet* operator->() const { return set_; }

 private:
  VolumeSet* set_ = nullptr;
};

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_VOLUME_SET_H_
