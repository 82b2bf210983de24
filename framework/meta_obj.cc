#include "cordra/meta_obj.h"

#include <utility>

namespace Cordra {
namespace MetaObj {

MetaObj::~MetaObj() = default;
MetaBool::~MetaBool() = default;
MetaInt::~MetaInt() = default;
MetaString::~MetaString() = default;
MetaStruct::~MetaStruct() = default;
MetaList::~MetaList() = default;

namespace {

// One allocation for the value and its count: results can hold millions.
// The constructors are protected, so make_shared goes through a subclass.
template <class T, class... Args>
std::shared_ptr<T> Make(Args&&... args) {
  struct Made : T {
    explicit Made(Args&&... a) : T(std::forward<Args>(a)...) {}
  };
  return std::make_shared<Made>(std::forward<Args>(args)...);
}

// Plain values never change once made, so every empty value of a kind (and
// each boolean) can be one shared object: a list of a million prototype-filled
// rows then costs no allocation for them.
template <class T>
const std::shared_ptr<T>& Empty() {
  static const std::shared_ptr<T> empty = Make<T>();
  return empty;
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
  return values[value];
}

std::shared_ptr<MetaInt> MetaInt::New() { return Empty<MetaInt>(); }

std::shared_ptr<MetaInt> MetaInt::New(int64_t value) {
  std::shared_ptr<MetaInt> obj = Make<MetaInt>();
  obj->value_ = value;
  obj->set_ = true;
  return obj;
}

std::shared_ptr<MetaString> MetaString::New() { return Empty<MetaString>(); }

std::shared_ptr<MetaString> MetaString::New(const std::string& value) {
  return New(std::string(value));
}

std::shared_ptr<MetaString> MetaString::New(std::string&& value) {
  std::shared_ptr<MetaString> obj = Make<MetaString>();
  obj->value_ = std::move(value);
  obj->set_ = true;
  return obj;
}

// A structure or a list is a container: it counts as set from the start,
// whatever its fields or elements hold.
std::shared_ptr<MetaStruct> MetaStruct::New(const std::string& type_name) {
  std::shared_ptr<MetaStruct> obj = Make<MetaStruct>(std::string(type_name));
  obj->set_ = true;
  return obj;
}

void MetaStruct::SetField(const std::string& field, std::shared_ptr<MetaObj> value) {
  for (auto& existing : fields_) {
    if (existing.first == field) {
      existing.second = std::move(value);
      return;
    }
  }
  if (fields_.empty()) fields_.reserve(8);  // most records have a handful of fields
  fields_.emplace_back(field, std::move(value));
}

std::shared_ptr<MetaObj> MetaStruct::GetField(const std::string& field) const {
  for (const auto& existing : fields_) {
    if (existing.first == field) return existing.second;
  }
  return nullptr;
}

std::shared_ptr<MetaList> MetaList::New(MetaType element_type, std::shared_ptr<MetaObj> prototype) {
  std::shared_ptr<MetaList> obj = Make<MetaList>(MetaType(element_type), std::move(prototype));
  obj->set_ = true;
  return obj;
}

void MetaList::Add(std::shared_ptr<MetaObj> element) { elements_.push_back(std::move(element)); }

}  // namespace MetaObj
}  // namespace Cordra
