// The interned names of structures: a type name and the names of the fields
// set so far, in order (a "shape"). A structure that sets a new field moves
// to the child shape for that name, so structures filled in the same order
// share every shape on the way, and a list of a million rows holds its names
// once.
#ifndef FRAMEWORK_VALUE_SHAPE_H_
#define FRAMEWORK_VALUE_SHAPE_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace Cordra {
namespace MetaObj {

struct Shape {
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
  const Shape* With(std::string_view field) const;
};

// The shapes of one arena, or of the values made outside every arena. A
// table is used by one thread at a time: an arena's by the thread it is
// current on, the shared one under lock().
class ShapeTable {
 public:
  ShapeTable() = default;
  ShapeTable(const ShapeTable&) = delete;
  ShapeTable& operator=(const ShapeTable&) = delete;

  // The shape with no fields of `type_name`, made on first use.
  const Shape* Root(std::string_view type_name);

  // The table of the values made outside every arena, and its lock.
  static ShapeTable& Shared();
  static std::mutex& SharedLock();

 private:
  std::map<std::string, Shape, std::less<>> roots_;
  const Shape* last_ = nullptr;  // rows come in runs of a type
};

}  // namespace MetaObj
}  // namespace Cordra

#endif  // FRAMEWORK_VALUE_SHAPE_H_
