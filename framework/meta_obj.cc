#include "cordra/meta_obj.h"

#include "framework/value_arena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <new>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace Cordra {
namespace MetaObj {

MetaObj::~MetaObj() = default;
MetaBool::~MetaBool() = default;
MetaInt::~MetaInt() = default;
MetaList::~MetaList() = default;

namespace {

// A value made outside a run: one allocation for the value and its count.
// The constructors are protected, so make_shared goes through a subclass.
template <class T, class... Args>
std::shared_ptr<T> Make(Args&&... args) {
  struct Made : T {
    explicit Made(Args&&... a) : T(std::forward<Args>(a)...) {}
  };
  return std::make_shared<Made>(std::forward<Args>(args)...);
}

// A value made in `arena`, `extra` bytes beside it: the arena owns it, and
// the pointer handed out counts nothing.
template <class T, class... Args>
std::shared_ptr<T> MakeIn(ValueArena* arena, size_t extra, Args&&... args) {
  struct Made : T {
    explicit Made(Args&&... a) : T(std::forward<Args>(a)...) {}
  };
  static_assert(sizeof(Made) == sizeof(T), "the bytes beside a value follow T");
  T* obj = new (arena->Allocate(sizeof(Made) + extra)) Made(std::forward<Args>(args)...);
  return std::shared_ptr<T>(std::shared_ptr<T>(), obj);
}

// Values that never change and live as long as the process are handed out
// without counting: every empty value of a kind, and the two booleans.
template <class T>
std::shared_ptr<T> Uncounted(const std::shared_ptr<T>& forever) {
  return std::shared_ptr<T>(std::shared_ptr<T>(), forever.get());
}

template <class T>
std::shared_ptr<T> Empty() {
  static const std::shared_ptr<T> empty = Make<T>();
  return Uncounted(empty);
}

}  // namespace

std::shared_ptr<MetaBool> MetaBool::New() { return Empty<MetaBool>(); }

std::shared_ptr<MetaBool> MetaBool::New(bool value) {
  auto make = [](bool v) {
    std::shared_ptr<MetaBool> obj = Make<MetaBool>();
    obj->value_ = v;
    obj->set_ = true;
    return obj;
  };
  static const std::shared_ptr<MetaBool> values[2] = {make(false), make(true)};
  return Uncounted(values[value]);
}

std::shared_ptr<MetaInt> MetaInt::New() { return Empty<MetaInt>(); }

std::shared_ptr<MetaInt> MetaInt::New(int64_t value) {
  ValueArena* arena = ValueArena::Current();
  std::shared_ptr<MetaInt> obj = arena ? MakeIn<MetaInt>(arena, 0) : Make<MetaInt>();
  obj->value_ = value;
  obj->set_ = true;
  return obj;
}

// Where a string's parts are: its bytes (and a NUL) right after the object,
// then, for a string not in an arena, the std::string GetValue() returns.
struct StringLayout {
  static char* Bytes(const MetaString* s) {
    return const_cast<char*>(reinterpret_cast<const char*>(s)) + sizeof(MetaString);
  }
  static size_t CopyAt(size_t size) { return (sizeof(MetaString) + size + 1 + 7) & ~size_t{7}; }
  static std::string* Copy(const MetaString* s) {
    return reinterpret_cast<std::string*>(Bytes(s) - sizeof(MetaString) + CopyAt(s->size_));
  }

  // In the thread's arena if there is one and `arena_allowed`.
  static std::shared_ptr<MetaString> Make(std::string_view value, bool arena_allowed) {
    if (value.size() > UINT32_MAX) throw std::length_error("a string value over 4 GiB");
    struct Made : MetaString {};
    static_assert(sizeof(Made) == sizeof(MetaString), "the bytes follow the object");
    MetaString* obj;
    std::shared_ptr<MetaString> ptr;
    ValueArena* arena = arena_allowed ? ValueArena::Current() : nullptr;
    if (arena) {
      obj = new (arena->Allocate(sizeof(MetaString) + value.size() + 1)) Made();
      obj->in_arena_ = true;
      ptr = std::shared_ptr<MetaString>(std::shared_ptr<MetaString>(), obj);
    } else {
      void* memory = ::operator new(CopyAt(value.size()) + sizeof(std::string));
      obj = new (memory) Made();
      ptr = std::shared_ptr<MetaString>(obj, [](MetaString* s) {
        s->~MetaString();
        ::operator delete(s);
      });
    }
    obj->size_ = static_cast<uint32_t>(value.size());
    std::memcpy(Bytes(obj), value.data(), value.size());
    Bytes(obj)[value.size()] = '\0';
    if (!obj->in_arena_) new (Copy(obj)) std::string(value);
    return ptr;
  }
};

std::shared_ptr<MetaString> MetaString::New() {
  // Made once for the process, so never in a run's arena.
  static const std::shared_ptr<MetaString> empty = StringLayout::Make("", false);
  return Uncounted(empty);
}

std::shared_ptr<MetaString> MetaString::New(const std::string& value) {
  std::shared_ptr<MetaString> obj = StringLayout::Make(value, true);
  obj->set_ = true;
  return obj;
}

std::shared_ptr<MetaString> MetaString::New(std::string&& value) {
  return New(static_cast<const std::string&>(value));
}

MetaString::~MetaString() {
  if (!in_arena_) StringLayout::Copy(this)->~basic_string();
}

const std::string& MetaString::GetValue() const {
  if (!in_arena_) return *StringLayout::Copy(this);
  return ValueArena::Current()->CopyOf(this, View());
}

// A type name and the names of the fields set so far, in order. A
// structure that sets a new field moves to the child shape for that name, so
// structures filled in the same order share every shape on the way.
struct MetaStruct::Shape {
  const std::string* type_name;  // the root's
  const Shape* root;
  std::vector<std::string> names;
  mutable std::vector<std::unique_ptr<Shape>> children;
  // The root's only: the most fields a structure of the type has had, so
  // that the next one is made with room for them all.
  mutable uint32_t widest = 0;

  // The shape with `field` added, if a structure has added it here before.
  // A child's name is never one of this shape's, so a structure that finds
  // one need not look through its own names.
  const Shape* Known(std::string_view field) const {
    for (const auto& child : children) {
      if (child->names.back() == field) return child.get();
    }
    return nullptr;
  }

  // A new child for `field`, which is neither one of `names` nor Known().
  const Shape* With(std::string_view field) const {
    auto child = std::make_unique<Shape>(Shape{type_name, root, names, {}});
    child->names.emplace_back(field);
    root->widest = std::max(root->widest, static_cast<uint32_t>(child->names.size()));
    children.push_back(std::move(child));
    return children.back().get();
  }
};

namespace {

// The shape with no fields of each type name, made on first use and kept for
// the process (a static, so never reported as leaked).
const MetaStruct::Shape* RootShape(std::string_view type_name) {
  static std::map<std::string, MetaStruct::Shape, std::less<>> roots;
  static const MetaStruct::Shape* last = nullptr;  // rows come in runs of a type
  if (last && *last->type_name == type_name) return last;
  auto it = roots.find(type_name);
  if (it == roots.end()) {
    it = roots.emplace(std::string(type_name), MetaStruct::Shape{nullptr, nullptr, {}, {}}).first;
    it->second.type_name = &it->first;
    it->second.root = &it->second;
  }
  last = &it->second;
  return last;
}

using ValuePtr = std::shared_ptr<MetaObj>;

}  // namespace

// A structure or a list is a container: it counts as set from the start,
// whatever its fields or elements hold.
std::shared_ptr<MetaStruct> MetaStruct::New(const std::string& type_name) {
  return NewOf(type_name);
}

std::shared_ptr<MetaStruct> MetaStruct::New(const char* type_name) { return NewOf(type_name); }

std::shared_ptr<MetaStruct> MetaStruct::NewOf(std::string_view type_name) {
  const Shape* root = RootShape(type_name);
  const uint32_t room = root->widest > 0 ? root->widest : 8;
  std::shared_ptr<MetaStruct> obj;
  if (ValueArena* arena = ValueArena::Current()) {
    // Its fields beside it, in the same allocation.
    obj = MakeIn<MetaStruct>(arena, room * sizeof(MetaObj*), root);
    obj->values_ = reinterpret_cast<char*>(obj.get()) + sizeof(MetaStruct);
    obj->capacity_ = room;
    obj->in_arena_ = true;
  } else {
    obj = Make<MetaStruct>(root);
  }
  obj->set_ = true;
  return obj;
}

MetaStruct::~MetaStruct() {
  if (in_arena_) return;  // the arena owns its values and its memory
  auto* owned = static_cast<ValuePtr*>(values_);
  for (uint32_t i = 0; i < size_; ++i) owned[i].~ValuePtr();
  ::operator delete(values_);
}

void MetaStruct::Grow() {
  const uint32_t room = capacity_ > 0 ? 2 * capacity_ : 8;
  if (in_arena_) {
    auto* grown = static_cast<MetaObj**>(ValueArena::Current()->Allocate(room * sizeof(MetaObj*)));
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

const std::string& MetaStruct::GetTypeName() const { return *shape_->type_name; }

const std::string& MetaStruct::FieldName(size_t index) const { return shape_->names[index]; }

void MetaStruct::SetField(const std::string& field, std::shared_ptr<MetaObj> value) {
  Set(field, std::move(value));
}

void MetaStruct::SetField(const char* field, std::shared_ptr<MetaObj> value) {
  Set(field, std::move(value));
}

void MetaStruct::Set(std::string_view field, std::shared_ptr<MetaObj> value) {
  // An arena never destroys the structures in it, so they hold plain
  // pointers: the arena keeps a value made outside it alive instead.
  if (in_arena_ && value.use_count() > 0) ValueArena::Current()->KeepAlive(value);
  size_t index = size_;
  if (const Shape* next = shape_->Known(field)) {  // how rows filled alike find theirs
    shape_ = next;
  } else {
    // Fields are mostly set again in their order: try after the last one.
    const std::vector<std::string>& names = shape_->names;
    for (size_t n = 0, i = next_; n < names.size(); ++n, ++i) {
      if (i == names.size()) i = 0;
      if (names[i] == field) {
        index = i;
        break;
      }
    }
    if (index == size_) shape_ = shape_->With(field);
  }
  if (index == size_) {
    if (size_ == capacity_) Grow();
    ++size_;
    if (!in_arena_) new (&static_cast<ValuePtr*>(values_)[index]) ValuePtr();
  }
  next_ = static_cast<uint32_t>(index + 1);
  if (in_arena_) {
    static_cast<MetaObj**>(values_)[index] = value.get();
  } else {
    static_cast<ValuePtr*>(values_)[index] = std::move(value);
  }
}

std::shared_ptr<MetaObj> MetaStruct::GetField(const std::string& field) const {
  const std::vector<std::string>& names = shape_->names;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == field) return ValueAt(i);
  }
  return nullptr;
}

std::shared_ptr<MetaList> MetaList::New(MetaType element_type, std::shared_ptr<MetaObj> prototype) {
  std::shared_ptr<MetaList> obj;
  if (ValueArena* arena = ValueArena::Current()) {
    obj = MakeIn<MetaList>(arena, 0, MetaType(element_type), std::move(prototype));
    arena->DestroyAtEnd(obj.get());  // its vector of elements
  } else {
    obj = Make<MetaList>(MetaType(element_type), std::move(prototype));
  }
  obj->set_ = true;
  return obj;
}

void MetaList::Add(std::shared_ptr<MetaObj> element) { elements_.push_back(std::move(element)); }

}  // namespace MetaObj
}  // namespace Cordra
