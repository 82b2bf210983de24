#include "framework/value_shape.h"

#include <algorithm>
#include <utility>

namespace Cordra {
namespace MetaObj {

const Shape* Shape::With(std::string_view field) const {
  auto child = std::make_unique<Shape>(Shape{type_name, root, names, {}});
  child->names.emplace_back(field);
  root->widest = std::max(root->widest, static_cast<uint32_t>(child->names.size()));
  children.push_back(std::move(child));
  return children.back().get();
}

const Shape* ShapeTable::Root(std::string_view type_name) {
  if (last_ && *last_->type_name == type_name) return last_;
  auto it = roots_.find(type_name);
  if (it == roots_.end()) {
    it = roots_.emplace(std::string(type_name), Shape{nullptr, nullptr, {}, {}}).first;
    it->second.type_name = &it->first;
    it->second.root = &it->second;
  }
  last_ = &it->second;
  return last_;
}

// Kept for the process: shapes of values made at registration outlive any
// run, and a static is never reported as leaked.
ShapeTable& ShapeTable::Shared() {
  static ShapeTable* table = new ShapeTable;
  return *table;
}

std::mutex& ShapeTable::SharedLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}

}  // namespace MetaObj
}  // namespace Cordra
