#include "hostctl/store/volume_set.h"

#include <limits>
#include <stdexcept>

#include "hostctl/rules/volume_rules.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace Sim {

struct VolumeSet::Texts {
  std::string_view name;
  std::string_view uuid;
  std::string_view mount_point;  // empty when it is the volume's path
  std::string_view type;
};

namespace {

constexpr uint8_t kTypeInText = 255;

enum Flag : uint8_t {
  kMounted = 1,
  kMountPointIsPath = 2,
};

// A text as its length (7 bits a byte, low first) and its bytes.
void PutText(std::string& block, std::string_view text) {
  size_t size = text.size();
  for (; size >= 0x80; size >>= 7) block += static_cast<char>((size & 0x7f) | 0x80);
  block += static_cast<char>(size);
  block.append(text);
}

std::string_view TakeText(const char*& at) {
  size_t size = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*at++);
    size |= static_cast<size_t>(byte & 0x7f) << shift;
    if (!(byte & 0x80)) break;
  }
  std::string_view text(at, size);
  at += size;
  return text;
}

}  // namespace

VolumeSet::VolumeSet() : batch_(std::make_shared<VolumeBatch>()) {}
VolumeSet::~VolumeSet() = default;

VolumeSetRef VolumeSet::Load(Db& db, const VolumeQuery& query) {
  VolumeSetRef set(new VolumeSet);
  set->host_ = query.host ? query.host : Session::Get().HostId();
  set->batch_->host = set->host_;
  if (!query.summary) {
    set->records_ = LoadVolumes(db, query);
    if (!set->records_.empty()) set->batch_ = set->records_.front().batch;
    set->complete_ = true;
    return set;
  }
  Stmt stmt = SelectVolumes(db, query);
  VolumeRecord row;  // reads every row into the same buffers
  while (stmt.Step()) {
    ReadVolumeSummary(stmt, &row);
    set->Add(row);
  }
  set->batch_->volumes = set->summaries_.size();
  return set;
}

VolumeSetRef VolumeSet::Of(VolumeRecord record) {
  VolumeSetRef set(new VolumeSet);
  if (record.batch) set->batch_ = record.batch;
  set->host_ = record.host_id;
  record.batch = set->batch_;
  set->records_.push_back(std::move(record));
  set->complete_ = true;
  return set;
}

void VolumeSet::Add(const VolumeRecord& row) {
  if (text_.size() > std::numeric_limits<uint32_t>::max()) {
    throw std::length_error("too many volumes in one listing");
  }
  Summary s;
  s.id = row.id;
  s.capacity = row.capacity;
  s.used = row.used;
  s.text = static_cast<uint32_t>(text_.size());
  s.version = row.version;
  s.flags = row.mounted ? kMounted : 0;
  PutText(text_, row.name);
  PutText(text_, row.uuid);
  // Nearly every mount point is the volume's path: only the others are kept.
  if (IsVolumePath(row.mount_point, row.uuid)) {
    s.flags |= kMountPointIsPath;
  } else {
    PutText(text_, row.mount_point);
  }
  // A host has a handful of types: each is kept once and named by number.
  s.type = 0;
  while (s.type < types_.size() && types_[s.type] != row.type) ++s.type;
  if (s.type == types_.size() && s.type < kTypeInText) types_.push_back(row.type);
  if (s.type == kTypeInText) PutText(text_, row.type);
  summaries_.push_back(s);
}

VolumeSet::Texts VolumeSet::TextsOf(size_t i) const {
  const Summary& s = summaries_[i];
  const char* at = text_.data() + s.text;
  Texts texts;
  texts.name = TakeText(at);
  texts.uuid = TakeText(at);
  if (!(s.flags & kMountPointIsPath)) texts.mount_point = TakeText(at);
  texts.type = s.type == kTypeInText ? TakeText(at) : std::string_view(types_[s.type]);
  return texts;
}

int64_t VolumeSet::Id(size_t i) const { return complete_ ? records_[i].id : summaries_[i].id; }

std::string_view VolumeSet::Type(size_t i) const {
  if (complete_) return records_[i].type;
  const uint8_t type = summaries_[i].type;
  return type == kTypeInText ? TextsOf(i).type : std::string_view(types_[type]);
}

std::string_view VolumeSet::Name(size_t i) const {
  if (complete_) return records_[i].name;
  const char* at = text_.data() + summaries_[i].text;
  return TakeText(at);
}

std::string_view VolumeSet::Uuid(size_t i) const {
  if (complete_) return records_[i].uuid;
  const char* at = text_.data() + summaries_[i].text;
  TakeText(at);
  return TakeText(at);
}

std::string VolumeSet::MountPoint(size_t i) const {
  if (complete_) return records_[i].mount_point;
  const char* at = text_.data() + summaries_[i].text;
  TakeText(at);
  const std::string_view uuid = TakeText(at);
  if (summaries_[i].flags & kMountPointIsPath) return VolumePath(uuid);
  return std::string(TakeText(at));
}

bool VolumeSet::Mounted(size_t i) const {
  return complete_ ? records_[i].mounted : summaries_[i].flags & kMounted;
}

int64_t VolumeSet::Capacity(size_t i) const {
  return complete_ ? records_[i].capacity : summaries_[i].capacity;
}

int64_t VolumeSet::Used(size_t i) const {
  return complete_ ? records_[i].used : summaries_[i].used;
}

uint32_t VolumeSet::Version(size_t i) const {
  return complete_ ? records_[i].version : summaries_[i].version;
}

VolumeRecord& VolumeSet::Full(Db& db, size_t i) {
  if (complete_) return records_[i];
  std::vector<VolumeRecord> records(summaries_.size());
  for (size_t k = 0; k < records.size(); ++k) {
    const Summary& s = summaries_[k];
    const Texts texts = TextsOf(k);
    VolumeRecord& v = records[k];
    v.id = s.id;
    v.type = texts.type;
    v.name = texts.name;
    v.uuid = texts.uuid;
    v.mount_point = MountPoint(k);
    v.mounted = s.flags & kMounted;
    v.capacity = s.capacity;
    v.used = s.used;
    v.version = s.version;
    v.host_id = host_;
    v.batch = batch_;
  }
  if (!records.empty()) {
    // The set's rows in id order, as it read them; a row deleted since keeps
    // the defaults.
    Stmt stmt = SelectVolumeRange(db, host_, records.front().id, records.back().id);
    size_t next = 0;
    while (stmt.Step()) {
      const int64_t id = stmt.Int(0);
      while (next < records.size() && records[next].id < id) ++next;
      if (next < records.size() && records[next].id == id) ReadVolumeDetails(stmt, &records[next]);
    }
  }
  // Only now: a failed read leaves the set as it was, to be tried again.
  records_ = std::move(records);
  complete_ = true;
  std::vector<Summary>().swap(summaries_);
  std::string().swap(text_);
  std::vector<std::string>().swap(types_);
  return records_[i];
}

const std::vector<std::shared_ptr<ExtentRecord>>& VolumeSet::Extents(Db& db, size_t i) {
  return BatchExtents(db, *batch_, Id(i));
}

}  // namespace Sim
}  // namespace HostCtl
