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

}  // namespace

std::shared_ptr<MetaBool> MetaBool::New() { return Make<MetaBool>(); }

std::shared_ptr<MetaBool> MetaBool::New(bool value) {
  std::shared_ptr<MetaBool> obj = Make<MetaBool>();
  obj->value_ = value;
  obj->set_ = true;
  return obj;
}

std::shared_ptr<MetaInt> MetaInt::New() { return Make<MetaInt>(); }

std::shared_ptr<MetaInt> MetaInt::New(int64_t value) {
  std::shared_ptr<MetaInt> obj = Make<MetaInt>();
  obj->value_ = value;
  obj->set_ = true;
  return obj;
}

std::shared_ptr<MetaString> MetaString::New() { return Make<MetaString>(); }

std::shared_ptr<MetaString> MetaString::New(const std::string& value) {
  std::shared_ptr<MetaString> obj = Make<MetaString>();
  obj->value_ = value;
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
