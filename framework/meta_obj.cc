#include "cordra/meta_obj.h"

#include <map>
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

// A type name and the names of the fields set so far, in order. A
// structure that sets a new field moves to the child shape for that name, so
// structures filled in the same order share every shape on the way.
struct MetaStruct::Shape {
  const std::string* type_name;  // the root's
  std::vector<std::string> names;
  mutable std::vector<std::unique_ptr<Shape>> children;

  // The shape with `field` added, if a structure has added it here before.
  // A child's name is never one of this shape's, so a structure that finds
  // one need not look through its own names.
  const Shape* Known(const std::string& field) const {
    for (const auto& child : children) {
      if (child->names.back() == field) return child.get();
    }
    return nullptr;
  }

  // A new child for `field`, which is neither one of `names` nor Known().
  const Shape* With(const std::string& field) const {
    auto child = std::make_unique<Shape>(Shape{type_name, names, {}});
    child->names.push_back(field);
    children.push_back(std::move(child));
    return children.back().get();
  }
};

namespace {

// The shape with no fields of each type name, made on first use and kept for
// the process (a static, so never reported as leaked).
const MetaStruct::Shape* RootShape(const std::string& type_name) {
  static std::map<std::string, MetaStruct::Shape> roots;
  static const MetaStruct::Shape* last = nullptr;  // rows come in runs of a type
  if (last && *last->type_name == type_name) return last;
  auto it = roots.find(type_name);
  if (it == roots.end()) {
    it = roots.emplace(type_name, MetaStruct::Shape{nullptr, {}, {}}).first;
    it->second.type_name = &it->first;
  }
  last = &it->second;
  return last;
}

}  // namespace

// A structure or a list is a container: it counts as set from the start,
// whatever its fields or elements hold.
std::shared_ptr<MetaStruct> MetaStruct::New(const std::string& type_name) {
  std::shared_ptr<MetaStruct> obj = Make<MetaStruct>(RootShape(type_name));
  obj->set_ = true;
  return obj;
}

const std::string& MetaStruct::GetTypeName() const { return *shape_->type_name; }

const std::string& MetaStruct::FieldName(size_t index) const { return shape_->names[index]; }

void MetaStruct::SetField(const std::string& field, std::shared_ptr<MetaObj> value) {
  const Shape* next = shape_->Known(field);  // how rows filled alike find theirs
  if (!next) {
    const std::vector<std::string>& names = shape_->names;
    for (size_t i = 0; i < names.size(); ++i) {
      if (names[i] == field) {
        values_[i] = std::move(value);
        return;
      }
    }
    next = shape_->With(field);
  }
  shape_ = next;
  if (values_.empty()) values_.reserve(8);  // most records have a handful of fields
  values_.push_back(std::move(value));
}

std::shared_ptr<MetaObj> MetaStruct::GetField(const std::string& field) const {
  const std::vector<std::string>& names = shape_->names;
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == field) return values_[i];
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
