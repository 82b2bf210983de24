// Typed values that commands hand to the framework as results.
//
// Every value is shared: a command builds it, sets it on its Output, and the
// framework renders it after the command has returned. A value made with
// New() and no argument is "empty": it has a type but no content yet, which is
// how result prototypes and structure fields before they are set look. Plain
// values never change once made, so New() may hand out a shared one.
//
// Every shared_ptr handed out keeps its value alive while it exists, however
// the framework places the value. A structure or list keeps alive what is set
// into it. Structures and lists are changed on one thread at a time; the
// framework may refuse a change made on another thread than the command run
// that made them (std::logic_error), never corrupt them.
#ifndef CORDRA_META_OBJ_H_
#define CORDRA_META_OBJ_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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
  MetaBool() = default;  // made only through New()

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
  MetaInt() = default;  // made only through New()

 private:
  int64_t value_ = 0;
};

// A text. Longer than 4 GiB is refused (std::length_error).
class MetaString : public MetaObj {
 public:
  static std::shared_ptr<MetaString> New();
  static std::shared_ptr<MetaString> New(const std::string& value);
  static std::shared_ptr<MetaString> New(std::string&& value);
  ~MetaString() override;
  MetaType GetType() const override { return META_STRING; }
  // The text, valid while the value lives.
  const std::string& GetValue() const;
  // The same bytes, without making a std::string of them.
  std::string_view View() const;

 protected:
  MetaString() = default;  // made only through New()
};

// A value held by a structure or a list, as their views show it: the value
// itself, or as a shared_ptr that keeps it alive (and shares ownership with
// whatever keeps the holder alive).
class ValueRef {
 public:
  MetaObj* get() const { return value_; }
  MetaObj& operator*() const { return *value_; }
  MetaObj* operator->() const { return value_; }
  explicit operator bool() const { return value_ != nullptr; }
  operator std::shared_ptr<MetaObj>() const;

 private:
  friend class MetaStruct;
  friend class MetaList;
  ValueRef(MetaObj* value, const MetaObj* holder, uint32_t index)
      : value_(value), holder_(holder), index_(index) {}
  MetaObj* value_;
  const MetaObj* holder_;
  uint32_t index_;  // the field or element; UINT32_MAX for a list's prototype
};

// The items of a structure or a list in order, as a view of it: item i is
// what `At` gives, and there are as many as `Count` says.
template <class Holder, class Item, size_t (Holder::*Count)() const,
          Item (Holder::*At)(size_t) const>
class ItemView {
 public:
  class iterator {
   public:
    iterator(const Holder* h, size_t i) : h_(h), i_(i) {}
    Item operator*() const { return (h_->*At)(i_); }
    iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator!=(const iterator& other) const { return i_ != other.i_; }

   private:
    const Holder* h_;
    size_t i_;
  };
  explicit ItemView(const Holder* h) : h_(h) {}
  size_t size() const { return (h_->*Count)(); }
  bool empty() const { return size() == 0; }
  Item operator[](size_t i) const { return (h_->*At)(i); }
  iterator begin() const { return iterator(h_, 0); }
  iterator end() const { return iterator(h_, size()); }

 private:
  const Holder* h_;
};

// A named record whose fields keep the order in which they were first set.
// Setting a field that exists replaces its value in place, so a row filled
// from a prototype keeps the prototype's field order.
class MetaStruct : public MetaObj {
 public:
  // A field as GetFields() shows it; both refer into the structure, and are
  // valid while it lives and the field is not set again.
  struct Field {
    const std::string& first;  // the name
    ValueRef second;           // the value
  };

 private:
  size_t FieldCount() const;
  Field FieldAt(size_t index) const;

 public:
  // The fields in order, as a view of the structure.
  using Fields = ItemView<MetaStruct, Field, &MetaStruct::FieldCount, &MetaStruct::FieldAt>;

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
  // True when `other` is known to have the same type and field names in the
  // same order (one comparison); false may still be alike.
  bool SameFieldsAs(const MetaStruct& other) const;

 protected:
  MetaStruct() = default;  // made only through New()
};

// An ordered list of values of one kind. The prototype describes an element
// (for a list of structures: a structure with every field present), so that
// an empty list can still be rendered with its columns.
class MetaList : public MetaObj {
  size_t ElementCount() const;
  ValueRef ElementAt(size_t index) const;

 public:
  // The elements in order, as a view of the list.
  using Elements = ItemView<MetaList, ValueRef, &MetaList::ElementCount, &MetaList::ElementAt>;

  static std::shared_ptr<MetaList> New(MetaType element_type, std::shared_ptr<MetaObj> prototype);
  ~MetaList() override;
  MetaType GetType() const override { return META_LIST; }
  MetaType GetElementType() const;
  std::shared_ptr<MetaObj> GetPrototype() const;

  void Add(std::shared_ptr<MetaObj> element);
  Elements GetElements() const { return Elements(this); }

 protected:
  MetaList() = default;  // made only through New()
};

}  // namespace MetaObj
}  // namespace Cordra

#endif  // CORDRA_META_OBJ_H_
