#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>
#include <utility>

#include "cordra/meta_obj.h"
#include "framework/values.h"

namespace Cordra {
namespace MetaObj {

namespace {

using ValuePtr = std::shared_ptr<MetaObj>;

const StructValue& Impl(const MetaStruct& s) { return static_cast<const StructValue&>(s); }

}  // namespace

// A structure or a list is a container: it counts as set from the start,
// whatever its fields or elements hold.
std::shared_ptr<MetaStruct> StructValue::Make(std::string_view type_name) {
  const std::shared_ptr<ValueArena>* arena = ValueArena::Current();
  ValueArena* home = arena ? arena->get() : nullptr;
  const Shape* root;
  if (home) {
    root = home->shapes().Root(type_name);
  } else {
    std::lock_guard<std::mutex> lock(ShapeTable::SharedLock());
    root = ShapeTable::Shared().Root(type_name);
  }
  std::shared_ptr<StructValue> obj;
  if (home) {
    // Its fields beside it, with room for the most its type has had.
    const uint32_t room = root->widest > 0 ? root->widest : 8;
    obj = Place<StructValue>(room * sizeof(MetaObj*), root, home);
    obj->values_ = obj.get() + 1;
    obj->capacity_ = room;
  } else {
    obj = Place<StructValue>(0, root, nullptr);
  }
  obj->set_ = true;
  return obj;
}

StructValue::~StructValue() {
  if (arena_) return;  // the arena owns its values and its memory
  auto* owned = static_cast<ValuePtr*>(values_);
  for (uint32_t i = 0; i < size_; ++i) owned[i].~ValuePtr();
  ::operator delete(values_);
}

std::shared_ptr<MetaObj> StructValue::Owner(size_t i) const {
  if (arena_) return arena_->Share(At(i));
  return static_cast<const ValuePtr*>(values_)[i];
}

void StructValue::Grow() {
  const uint32_t room = capacity_ > 0 ? 2 * capacity_ : 8;
  if (arena_) {
    auto* grown = static_cast<MetaObj**>(arena_->Allocate(room * sizeof(MetaObj*)));
    std::copy_n(static_cast<MetaObj**>(values_), size_, grown);
    values_ = grown;
  } else {
    auto* owned = static_cast<ValuePtr*>(values_);
    auto* grown = static_cast<ValuePtr*>(::operator new(room * sizeof(ValuePtr)));
    for (uint32_t i = 0; i < size_; ++i) {
      new (&grown[i]) ValuePtr(std::move(owned[i]));
      owned[i].~ValuePtr();
    }
    ::operator delete(values_);
    values_ = grown;
  }
  capacity_ = room;
}

// Where `field` goes: its index, or size_ for a new one (shape_ moved on).
// The caller holds the shared table's lock for a structure outside an arena.
inline size_t StructValue::IndexOf(std::string_view field) {
  if (const Shape* next = shape_->Known(field)) {  // how rows filled alike find theirs
    shape_ = next;
    return size_;
  }
  // Fields are mostly set again in their order: try after the last one.
  const std::vector<std::string>& names = shape_->names;
  for (size_t n = 0, i = next_; n < names.size(); ++n, ++i) {
    if (i == names.size()) i = 0;
    if (names[i] == field) return i;
  }
  shape_ = shape_->With(field);
  return size_;
}

// The index of `field`, with room made for a new one.
inline size_t StructValue::Slot(std::string_view field) {
  const size_t index = IndexOf(field);
  if (index == size_) {
    if (size_ == capacity_) Grow();
    ++size_;
    if (!arena_) new (&static_cast<ValuePtr*>(values_)[index]) ValuePtr();
  }
  next_ = static_cast<uint32_t>(index + 1);
  return index;
}

void StructValue::Set(std::string_view field, std::shared_ptr<MetaObj> value) {
  if (arena_) {
    MetaObj* held = HoldIn(*arena_, std::move(value));
    const size_t index = Slot(field);
    static_cast<MetaObj**>(values_)[index] = held;
  } else {
    std::unique_lock<std::mutex> lock(ShapeTable::SharedLock());
    const size_t index = Slot(field);
    lock.unlock();
    static_cast<ValuePtr*>(values_)[index] = std::move(value);
  }
}

MetaStruct::~MetaStruct() = default;

std::shared_ptr<MetaStruct> MetaStruct::New(const std::string& type_name) {
  return StructValue::Make(type_name);
}

std::shared_ptr<MetaStruct> MetaStruct::New(const char* type_name) {
  return StructValue::Make(type_name);
}

const std::string& MetaStruct::GetTypeName() const { return *Impl(*this).shape()->type_name; }

void MetaStruct::SetField(const std::string& field, std::shared_ptr<MetaObj> value) {
  static_cast<StructValue*>(this)->Set(field, std::move(value));
}

void MetaStruct::SetField(const char* field, std::shared_ptr<MetaObj> value) {
  static_cast<StructValue*>(this)->Set(field, std::move(value));
}

std::shared_ptr<MetaObj> MetaStruct::GetField(const std::string& field) const {
  const StructValue& s = Impl(*this);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s.Name(i) == field) return s.Owner(i);
  }
  return nullptr;
}

const std::string& MetaStruct::FieldName(size_t index) const { return Impl(*this).Name(index); }

bool MetaStruct::SameFieldsAs(const MetaStruct& other) const {
  return Impl(*this).shape() == Impl(other).shape();
}

size_t MetaStruct::FieldCount() const { return Impl(*this).size(); }

MetaStruct::Field MetaStruct::FieldAt(size_t index) const {
  const StructValue& s = Impl(*this);
  return {s.Name(index), ValueRef(s.At(index), this, static_cast<uint32_t>(index))};
}

}  // namespace MetaObj
}  // namespace Cordra
