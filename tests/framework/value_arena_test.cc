#include "framework/value_arena.h"

#include <gtest/gtest.h>

#include "cordra/meta_obj.h"

namespace Cordra {
namespace MetaObj {
namespace {

// A run's values live exactly as long as its arena: what a structure or a
// list made in the arena holds of a value made outside stays alive until the
// arena ends, and no longer.
TEST(ValueArenaTest, ValuesFromOutsideLiveUntilTheArenaEnds) {
  auto outside_struct = MetaString::New("kept by a structure");
  auto outside_list = MetaInt::New(7);
  std::weak_ptr<MetaObj> in_struct = outside_struct, in_list = outside_list;
  {
    ValueArena arena;
    auto row = MetaStruct::New("Row");
    auto list = MetaList::New(META_STRUCT, row);
    {
      // An arena made inside another adds nothing: what is kept stays with
      // the outer one.
      ValueArena inner;
      row->SetField("Text", outside_struct);
      list->Add(outside_list);
    }
    outside_struct.reset();
    outside_list.reset();
    ASSERT_FALSE(in_struct.expired());
    ASSERT_FALSE(in_list.expired());
    EXPECT_EQ(std::static_pointer_cast<MetaString>(row->GetField("Text"))->GetValue(),
              "kept by a structure");
    EXPECT_EQ(std::static_pointer_cast<MetaInt>(list->GetElements()[0])->GetValue(), 7);
  }
  EXPECT_TRUE(in_struct.expired());
  EXPECT_TRUE(in_list.expired());
}

// Strings keep their bytes beside them, NULs and all; a structure that
// outgrows the room its type has needed so far keeps its fields in order,
// and setting a field again replaces it in place.
TEST(ValueArenaTest, StringsAndStructuresReadBackAsMade) {
  ValueArena arena;
  const std::string bytes("a\0b", 3);
  auto text = MetaString::New(bytes);
  EXPECT_EQ(text->View(), bytes);
  EXPECT_EQ(text->GetValue(), bytes);
  EXPECT_EQ(MetaString::New(std::string(100000, 'x'))->View().size(), 100000u);
  EXPECT_EQ(MetaString::New()->View(), "");
  EXPECT_FALSE(MetaString::New()->IsSet());

  auto narrow = MetaStruct::New("Growing");
  narrow->SetField("f0", MetaInt::New(0));
  auto wide = MetaStruct::New("Growing");
  for (int i = 0; i < 20; ++i) wide->SetField("f" + std::to_string(i), MetaInt::New(i));
  wide->SetField("f3", MetaString::New("again"));
  ASSERT_EQ(wide->GetFields().size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(wide->FieldName(i), "f" + std::to_string(i));
    if (i != 3) {
      EXPECT_EQ(static_cast<MetaInt&>(*wide->GetFields()[i].second).GetValue(), i);
    }
  }
  EXPECT_EQ(std::static_pointer_cast<MetaString>(wide->GetField("f3"))->View(), "again");
}

}  // namespace
}  // namespace MetaObj
}  // namespace Cordra
