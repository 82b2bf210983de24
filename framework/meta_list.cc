#include <utility>

#include "cordra/meta_obj.h"
#include "framework/values.h"

namespace Cordra {
namespace MetaObj {

namespace {

const ListValue& Impl(const MetaList& l) { return static_cast<const ListValue&>(l); }

ValueArena* CurrentArena() {
  const std::shared_ptr<ValueArena>* arena = ValueArena::Current();
  return arena ? arena->get() : nullptr;
}

}  // namespace

ListValue::ListValue(MetaType element_type, std::shared_ptr<MetaObj> prototype)
    : element_type_(element_type), arena_(CurrentArena()), prototype_(prototype.get()) {
  if (arena_) {
    HoldIn(*arena_, std::move(prototype));
    arena_->DestroyAtEnd(this);  // its vector of elements
  } else {
    owned_prototype_ = std::move(prototype);
  }
  set_ = true;
}

ListValue::~ListValue() = default;

std::shared_ptr<MetaObj> ListValue::Owner(size_t i) const {
  MetaObj* value = i == UINT32_MAX ? prototype_ : At(i);
  if (arena_) return arena_->Share(value);
  return i == UINT32_MAX ? owned_prototype_ : owned_[i];
}

void ListValue::Add(std::shared_ptr<MetaObj> element) {
  if (arena_) {
    raw_.push_back(HoldIn(*arena_, std::move(element)));
  } else {
    owned_.push_back(std::move(element));
  }
}

MetaList::~MetaList() = default;

std::shared_ptr<MetaList> MetaList::New(MetaType element_type, std::shared_ptr<MetaObj> prototype) {
  return Place<ListValue>(0, element_type, std::move(prototype));
}

MetaType MetaList::GetElementType() const { return Impl(*this).element_type(); }

std::shared_ptr<MetaObj> MetaList::GetPrototype() const {
  return Impl(*this).prototype() ? Impl(*this).Owner(UINT32_MAX) : nullptr;
}

void MetaList::Add(std::shared_ptr<MetaObj> element) {
  static_cast<ListValue*>(this)->Add(std::move(element));
}

size_t MetaList::ElementCount() const { return Impl(*this).size(); }

ValueRef MetaList::ElementAt(size_t index) const {
  return ValueRef(Impl(*this).At(index), this, static_cast<uint32_t>(index));
}

}  // namespace MetaObj
}  // namespace Cordra
