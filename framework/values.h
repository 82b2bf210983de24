// How the framework represents the values of cordra/meta_obj.h: the classes
// New() really makes, and the helpers that place them. Nothing outside the
// framework sees these.
#ifndef FRAMEWORK_VALUES_H_
#define FRAMEWORK_VALUES_H_

#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cordra/meta_obj.h"
#include "framework/value_arena.h"
#include "framework/value_shape.h"

namespace Cordra {
namespace MetaObj {

// A value of type T made with `args`: in the thread's current arena when
// there is one (`extra` bytes beside it, sharing the arena's count), else
// one allocation for the value and its own count.
template <class T, class... Args>
std::shared_ptr<T> Place(size_t extra, Args&&... args) {
  if (const std::shared_ptr<ValueArena>* arena = ValueArena::Current()) {
    T* obj = new ((*arena)->Allocate(sizeof(T) + extra)) T(std::forward<Args>(args)...);
    return std::shared_ptr<T>(*arena, obj);
  }
  return std::make_shared<T>(std::forward<Args>(args)...);
}

// What `make` returns, made in the arena that never ends: for a value that
// lives as long as the process (an empty value, a boolean). Kept by the
// caller in a static that is never destroyed.
template <class Make>
auto MakeForever(Make make) {
  std::lock_guard<std::recursive_mutex> lock(ValueArena::ForeverLock());
  ValueArena::Scope scope(ValueArena::ForeverArena());
  return new auto(make());
}

// The bytes of a string sit right after the object; a string made outside
// every arena keeps a std::string of them after that.
class StringValue final : public MetaString {
 public:
  // `set` false makes the empty value of the kind.
  static std::shared_ptr<MetaString> Make(std::string_view value, bool set);
  ~StringValue() override;
  std::string_view Bytes() const { return {Start(), size_}; }
  const std::string& Text() const;

 private:
  StringValue() = default;
  const char* Start() const { return reinterpret_cast<const char*>(this + 1); }
  static size_t CopyAt(size_t size) { return (sizeof(StringValue) + size + 1 + 7) & ~size_t{7}; }
  std::string* Copy() const {
    return reinterpret_cast<std::string*>(const_cast<char*>(reinterpret_cast<const char*>(this)) +
                                          CopyAt(size_));
  }

  bool in_arena_ = false;
  uint32_t size_ = 0;
};

// A structure in an arena keeps plain pointers to its values beside it; one
// outside every arena keeps shared_ptrs that own them.
class StructValue final : public MetaStruct {
 public:
  static std::shared_ptr<MetaStruct> Make(std::string_view type_name);
  StructValue(const Shape* shape, ValueArena* arena) : arena_(arena), shape_(shape) {}
  ~StructValue() override;

  size_t size() const { return size_; }
  MetaObj* At(size_t i) const {
    return arena_ ? static_cast<MetaObj* const*>(values_)[i]
                  : static_cast<const std::shared_ptr<MetaObj>*>(values_)[i].get();
  }
  const std::string& Name(size_t i) const { return shape_->names[i]; }
  const Shape* shape() const { return shape_; }
  // Field `i` as a shared_ptr that keeps it alive.
  std::shared_ptr<MetaObj> Owner(size_t i) const;
  void Set(std::string_view field, std::shared_ptr<MetaObj> value);

 private:
  void Grow();
  size_t IndexOf(std::string_view field);
  size_t Slot(std::string_view field);

  ValueArena* arena_;      // null outside every arena
  uint32_t size_ = 0;      // fields set, one per name of shape_
  uint32_t capacity_ = 0;  // of values_
  uint32_t next_ = 0;      // where the next field set is looked for first
  const Shape* shape_;     // never null; interned in arena_'s table or the shared one
  void* values_ = nullptr;
};

class ListValue final : public MetaList {
 public:
  ListValue(MetaType element_type, std::shared_ptr<MetaObj> prototype);
  ~ListValue() override;

  MetaType element_type() const { return element_type_; }
  size_t size() const { return arena_ ? raw_.size() : owned_.size(); }
  MetaObj* At(size_t i) const { return arena_ ? raw_[i] : owned_[i].get(); }
  MetaObj* prototype() const { return prototype_; }
  // Element `i`, or the prototype for UINT32_MAX, as a shared_ptr that
  // keeps it alive.
  std::shared_ptr<MetaObj> Owner(size_t i) const;
  void Add(std::shared_ptr<MetaObj> element);

 private:
  MetaType element_type_;
  ValueArena* arena_;  // null outside every arena
  MetaObj* prototype_;
  std::shared_ptr<MetaObj> owned_prototype_;     // outside every arena
  std::vector<MetaObj*> raw_;                    // in an arena
  std::vector<std::shared_ptr<MetaObj>> owned_;  // outside every arena
};

// What a structure or a list in `arena` keeps of `value`: a plain pointer,
// valid while the arena lives (which keeps the value alive if it must).
// Throws std::logic_error unless `arena` is current on this thread.
MetaObj* HoldInElse(ValueArena& arena, std::shared_ptr<MetaObj>&& value);
inline MetaObj* HoldIn(ValueArena& arena, std::shared_ptr<MetaObj>&& value) {
  return arena.IsInnermostWith(value) ? value.get() : HoldInElse(arena, std::move(value));
}

}  // namespace MetaObj
}  // namespace Cordra

#endif  // FRAMEWORK_VALUES_H_
