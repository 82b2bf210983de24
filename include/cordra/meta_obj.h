// Typed values that commands hand to the framework as results.
//
// Every value is shared: a command builds it, sets it on its Output, and the
// framework renders it after the command has returned. A value made with
// New() and no argument is "empty": it has a type but no content yet, which is
// how result prototypes and structure fields before they are set look. Plain
// values never change once made, so New() may hand out a shared one.
//
// During a command run the framework places the values New() makes in the
// run's arena: the shared_ptrs handed out then own nothing, and the values
// live until the run's result has been printed. Outside a run every value
// owns itself.
#ifndef CORDRA_META_OBJ_H_
#define CORDRA_META_OBJ_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Cordra {
namespace MetaObj {

// The kind of a value. A list names the kind of its elements with one of
// these; 3 (structure) is the one every list command uses.
enum MetaType {
  META_BOOL = 0,
  META_INT = 1,
  META_STRING = 2,
  META_STRUCT = 3,
  META_LIST = 4,
};

class MetaObj {
 public:
  // Out of line, like every destructor below: the vtables and type
  // information of the values live in the framework library only.
  virtual ~MetaObj();
  MetaObj(const MetaObj&) = delete;
  MetaObj& operator=(const MetaObj&) = delete;

  virtual MetaType GetType() const = 0;
  // False for a value made without content (a prototype or an unset field).
  bool IsSet() const { return set_; }

 protected:
  MetaObj() = default;
  bool set_ = false;
};

class MetaBool : public MetaObj {
 public:
  static std::shared_ptr<MetaBool> New();
  static std::shared_ptr<MetaBool> New(bool value);
  ~MetaBool() override;
  MetaType GetType() const override { return META_BOOL; }
  bool GetValue() const { return value_; }

 protected:
  // Made only through New(), which places the object (see above).
  MetaBool() = default;

 private:
  bool value_ = false;
};

// A signed 64-bit integer; unsigned 32-bit host values fit without change.
class MetaInt : public MetaObj {
 public:
  static std::shared_ptr<MetaInt> New();
  static std::shared_ptr<MetaInt> New(int64_t value);
  ~MetaInt() override;
  MetaType GetType() const override { return META_INT; }
  int64_t GetValue() const { return value_; }

 protected:
  // Made only through New(), which places the object (see above).
  MetaInt() = default;

 private:
  int64_t value_ = 0;
};

// Strings keep their bytes beside the object: in a command run's arena, or
// in the value's own allocation. Longer than 4 GiB is refused
// (std::length_error).
class MetaString : public MetaObj {
 public:
  static std::shared_ptr<MetaString> New();
  static std::shared_ptr<MetaString> New(const std::string& value);
  static std::shared_ptr<MetaString> New(std::string&& value);
  ~MetaString() override;
  MetaType GetType() const override { return META_STRING; }
  // The text as a std::string. A string in a run's arena makes it the first
  // time it is asked for; View() reads the bytes as they are.
  const std::string& GetValue() const;
  std::string_view View() const {
    return std::string_view(reinterpret_cast<const char*>(this) + sizeof(MetaString), size_);
  }

 protected:
  // Made only through New(), which places the bytes.
  MetaString() = default;

 private:
  friend struct StringLayout;  // meta_obj.cc
  bool in_arena_ = false;
  uint32_t size_ = 0;
};

// A named record whose fields keep the order in which they were first set.
// Setting a field that exists replaces its value in place, so a row filled
// from a prototype keeps the prototype's field order.
//
// The type name and the field names are not kept in each structure: every
// structure of a type whose fields were first set in the same order shares
// one interned list of them (a "shape"), so that a list of a million rows
// holds its names once. Shapes live as long as the process. Structures are
// made and changed on one thread at a time, like the rest of a command run.
class MetaStruct : public MetaObj {
 public:
  struct Shape;  // the interned type and field names; meta_obj.cc

  // A field's value as GetFields() shows it: the value itself, or as a
  // shared_ptr (which owns where the structure owns its values, and counts
  // nothing for a structure in a run's arena).
  class FieldValue {
   public:
    MetaObj* get() const { return value_; }
    MetaObj& operator*() const { return *value_; }
    MetaObj* operator->() const { return value_; }
    explicit operator bool() const { return value_ != nullptr; }
    operator std::shared_ptr<MetaObj>() const {
      return owner_ ? *owner_ : std::shared_ptr<MetaObj>(std::shared_ptr<MetaObj>(), value_);
    }

   private:
    friend class MetaStruct;
    FieldValue(MetaObj* value, const std::shared_ptr<MetaObj>* owner)
        : value_(value), owner_(owner) {}
    MetaObj* value_;
    const std::shared_ptr<MetaObj>* owner_;  // null in an arena
  };
  // A field as GetFields() shows it; both refer into the structure, and are
  // valid while it lives and the field is not set again.
  struct Field {
    const std::string& first;  // the name
    FieldValue second;         // the value
  };
  // The fields in order, as a view of the structure.
  class Fields {
   public:
    class iterator {
     public:
      iterator(const MetaStruct* s, size_t i) : s_(s), i_(i) {}
      Field operator*() const { return (*s_)[i_]; }
      iterator& operator++() {
        ++i_;
        return *this;
      }
      bool operator!=(const iterator& other) const { return i_ != other.i_; }

     private:
      const MetaStruct* s_;
      size_t i_;
    };
    explicit Fields(const MetaStruct* s) : s_(s) {}
    size_t size() const { return s_->size_; }
    bool empty() const { return s_->size_ == 0; }
    Field operator[](size_t i) const { return (*s_)[i]; }
    iterator begin() const { return iterator(s_, 0); }
    iterator end() const { return iterator(s_, size()); }

   private:
    const MetaStruct* s_;
  };

  static std::shared_ptr<MetaStruct> New(const std::string& type_name);
  // The same for a literal name, without making a std::string of it per row.
  static std::shared_ptr<MetaStruct> New(const char* type_name);
  ~MetaStruct() override;
  MetaType GetType() const override { return META_STRUCT; }
  const std::string& GetTypeName() const;

  void SetField(const std::string& field, std::shared_ptr<MetaObj> value);
  void SetField(const char* field, std::shared_ptr<MetaObj> value);
  // The field's value, or null when the structure has no such field.
  std::shared_ptr<MetaObj> GetField(const std::string& field) const;
  Fields GetFields() const { return Fields(this); }
  // The name of field `index` (< GetFields().size()).
  const std::string& FieldName(size_t index) const;
  // True when `other` has the same type and field names in the same order
  // (one comparison: such structures share their names).
  bool SameFieldsAs(const MetaStruct& other) const { return shape_ == other.shape_; }

 protected:
  // Made only through New(), which places the object (see above).
  explicit MetaStruct(const Shape* shape) : shape_(shape) {}

 private:
  Field operator[](size_t i) const { return {FieldName(i), ValueAt(i)}; }
  FieldValue ValueAt(size_t i) const {
    if (in_arena_) return FieldValue(static_cast<MetaObj**>(values_)[i], nullptr);
    const auto* owned = static_cast<const std::shared_ptr<MetaObj>*>(values_);
    return FieldValue(owned[i].get(), &owned[i]);
  }
  static std::shared_ptr<MetaStruct> NewOf(std::string_view type_name);
  void Set(std::string_view field, std::shared_ptr<MetaObj> value);
  void Grow();

  bool in_arena_ = false;
  uint32_t size_ = 0;      // fields set, one per name of shape_
  uint32_t capacity_ = 0;  // of values_
  uint32_t next_ = 0;      // where the next field set is looked for first
  const Shape* shape_;     // never null; interned
  // In a run's arena, MetaObj* pointers to values the arena owns; else
  // shared_ptrs that own them.
  void* values_ = nullptr;
};

// An ordered list of values of one kind. The prototype describes an element
// (for a list of structures: a structure with every field present), so that
// an empty list can still be rendered with its columns.
class MetaList : public MetaObj {
 public:
  static std::shared_ptr<MetaList> New(MetaType element_type, std::shared_ptr<MetaObj> prototype);
  ~MetaList() override;
  MetaType GetType() const override { return META_LIST; }
  MetaType GetElementType() const { return element_type_; }
  const std::shared_ptr<MetaObj>& GetPrototype() const { return prototype_; }

  void Add(std::shared_ptr<MetaObj> element);
  const std::vector<std::shared_ptr<MetaObj>>& GetElements() const { return elements_; }

 protected:
  // Made only through New(), which places the object (see above).
  MetaList(MetaType element_type, std::shared_ptr<MetaObj> prototype)
      : element_type_(element_type), prototype_(std::move(prototype)) {}

 private:
  MetaType element_type_;
  std::shared_ptr<MetaObj> prototype_;
  std::vector<std::shared_ptr<MetaObj>> elements_;
};

}  // namespace MetaObj
}  // namespace Cordra

#endif  // CORDRA_META_OBJ_H_
