#include "cordra/meta_obj.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#include "framework/values.h"

namespace Cordra {
namespace MetaObj {

MetaObj::~MetaObj() = default;
MetaBool::~MetaBool() = default;
MetaInt::~MetaInt() = default;
MetaString::~MetaString() = default;

namespace {

// The public classes' constructors are protected; these are what New() makes.
struct BoolValue : MetaBool {
  BoolValue() = default;
};
struct IntValue : MetaInt {
  IntValue() = default;
};

}  // namespace

std::shared_ptr<MetaBool> MetaBool::New() {
  static const auto* empty = MakeForever([] { return Place<BoolValue>(0); });
  return *empty;
}

std::shared_ptr<MetaBool> MetaBool::New(bool value) {
  auto make = [](bool v) {
    std::shared_ptr<MetaBool> obj = Place<BoolValue>(0);
    obj->value_ = v;
    obj->set_ = true;
    return obj;
  };
  static const auto* no = MakeForever([&] { return make(false); });
  static const auto* yes = MakeForever([&] { return make(true); });
  return value ? *yes : *no;
}

std::shared_ptr<MetaInt> MetaInt::New() {
  static const auto* empty = MakeForever([] { return Place<IntValue>(0); });
  return *empty;
}

std::shared_ptr<MetaInt> MetaInt::New(int64_t value) {
  std::shared_ptr<MetaInt> obj = Place<IntValue>(0);
  obj->value_ = value;
  obj->set_ = true;
  return obj;
}

std::shared_ptr<MetaString> StringValue::Make(std::string_view value, bool set) {
  if (value.size() > UINT32_MAX) throw std::length_error("a string value over 4 GiB");
  StringValue* obj;
  std::shared_ptr<MetaString> ptr;
  if (const std::shared_ptr<ValueArena>* arena = ValueArena::Current()) {
    obj = new ((*arena)->Allocate(sizeof(StringValue) + value.size() + 1)) StringValue();
    obj->in_arena_ = true;
    ptr = std::shared_ptr<MetaString>(*arena, obj);
  } else {
    obj = new (::operator new(CopyAt(value.size()) + sizeof(std::string))) StringValue();
    ptr = std::shared_ptr<MetaString>(obj, [](MetaString* s) {
      s->~MetaString();
      ::operator delete(s);
    });
  }
  obj->size_ = static_cast<uint32_t>(value.size());
  obj->set_ = set;
  char* bytes = const_cast<char*>(obj->Start());
  std::memcpy(bytes, value.data(), value.size());
  bytes[value.size()] = '\0';
  if (!obj->in_arena_) new (obj->Copy()) std::string(value);
  return ptr;
}

StringValue::~StringValue() {
  if (!in_arena_) Copy()->~basic_string();
}

const std::string& StringValue::Text() const {
  return in_arena_ ? ValueArena::CopyOf(this, Bytes()) : *Copy();
}

std::shared_ptr<MetaString> MetaString::New() {
  static const auto* empty = MakeForever([] { return StringValue::Make("", false); });
  return *empty;
}

std::shared_ptr<MetaString> MetaString::New(const std::string& value) {
  return StringValue::Make(value, true);
}

std::shared_ptr<MetaString> MetaString::New(std::string&& value) {
  return StringValue::Make(value, true);
}

const std::string& MetaString::GetValue() const {
  return static_cast<const StringValue*>(this)->Text();
}

std::string_view MetaString::View() const { return static_cast<const StringValue*>(this)->Bytes(); }

ValueRef::operator std::shared_ptr<MetaObj>() const {
  if (!value_) return nullptr;
  if (holder_->GetType() == META_STRUCT) {
    return static_cast<const StructValue*>(holder_)->Owner(index_);
  }
  return static_cast<const ListValue*>(holder_)->Owner(index_);
}

MetaObj* HoldInElse(ValueArena& arena, std::shared_ptr<MetaObj>&& value) {
  arena.CheckCurrent();
  MetaObj* raw = value.get();
  if (!arena.Holds(value)) arena.KeepAlive(std::move(value));
  return raw;
}

}  // namespace MetaObj
}  // namespace Cordra
