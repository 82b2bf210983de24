#include "framework/value_arena.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "cordra/meta_obj.h"

namespace Cordra {
namespace MetaObj {
namespace {

std::string TextOf(const std::shared_ptr<MetaObj>& value) {
  return std::static_pointer_cast<MetaString>(value)->GetValue();
}

// A run's arena lives while any of its values is held, whichever way the
// holder got it, and goes with the last one: its own values pointing at each
// other keep nothing alive.
TEST(ValueArenaTest, AnArenaLivesExactlyAsLongAsOneOfItsValuesIsHeld) {
  std::weak_ptr<ValueArena> arena;
  std::shared_ptr<MetaObj> field, element, prototype, row_held;
  {
    ValueArena::Scope scope;
    arena = scope.arena();
    auto proto = MetaStruct::New("Row");
    auto row = MetaStruct::New("Row");
    row->SetField("Name", MetaString::New("first"));
    auto list = MetaList::New(META_STRUCT, proto);
    list->Add(row);
    field = row->GetFields()[0].second;
    element = list->GetElements()[0];
    prototype = list->GetPrototype();
    EXPECT_EQ(prototype.get(), proto.get());
  }
  for (auto* held : {&field, &element, &prototype}) {
    ASSERT_FALSE(arena.expired());
    EXPECT_GT(held->use_count(), 0);
    std::weak_ptr<MetaObj> weak = *held;
    EXPECT_FALSE(weak.expired());
    if (held == &field) {
      EXPECT_EQ(TextOf(field), "first");
    }
    held->reset();
  }
  EXPECT_TRUE(arena.expired());
}

// Values made outside an arena and set into one stay alive until the arena
// ends; an arena's values set into an outside structure keep the arena alive.
TEST(ValueArenaTest, ValuesCrossingAnArenaKeepWhatTheyPointTo) {
  auto outside_text = MetaString::New("kept by a structure");
  auto outside_int = MetaInt::New(7);
  std::weak_ptr<MetaObj> in_struct = outside_text, in_list = outside_int;
  auto outside_row = MetaStruct::New("Row");
  std::weak_ptr<ValueArena> arena;
  {
    ValueArena::Scope scope;
    arena = scope.arena();
    auto row = MetaStruct::New("Row");
    auto list = MetaList::New(META_INT, MetaInt::New());
    row->SetField("Text", outside_text);
    list->Add(outside_int);
    outside_text.reset();
    outside_int.reset();
    ASSERT_FALSE(in_struct.expired());
    ASSERT_FALSE(in_list.expired());
    EXPECT_EQ(TextOf(row->GetField("Text")), "kept by a structure");
    EXPECT_EQ(static_cast<MetaInt&>(*list->GetElements()[0]).GetValue(), 7);
    outside_row->SetField("Inner", row);
  }
  EXPECT_FALSE(arena.expired());
  EXPECT_FALSE(in_struct.expired());
  auto inner = std::static_pointer_cast<MetaStruct>(outside_row->GetField("Inner"));
  EXPECT_EQ(TextOf(inner->GetField("Text")), "kept by a structure");
  inner.reset();
  outside_row.reset();
  EXPECT_TRUE(arena.expired());
  EXPECT_TRUE(in_struct.expired());
  EXPECT_TRUE(in_list.expired());
}

// A run's structure or list changes only in that run: after it, or from an
// arena that is not current, a change is refused, never a corruption.
TEST(ValueArenaTest, ARunsValuesChangeOnlyInThatRun) {
  std::shared_ptr<MetaStruct> row;
  std::shared_ptr<MetaList> list;
  {
    ValueArena::Scope scope;
    row = MetaStruct::New("Row");
    list = MetaList::New(META_STRUCT, row);
    {
      ValueArena::Scope inner;  // the outer run's values still change in it
      row->SetField("Nested", MetaInt::New(1));
    }
  }
  const char* refusal = "a value of a command run changed outside the run that made it";
  for (bool in_other_run : {false, true}) {
    std::optional<ValueArena::Scope> other;
    if (in_other_run) other.emplace();
    try {
      row->SetField("Late", MetaInt::New(2));
      ADD_FAILURE() << "a late SetField was taken";
    } catch (const std::logic_error& e) {
      EXPECT_STREQ(e.what(), refusal);
    }
    EXPECT_THROW(list->Add(MetaInt::New(3)), std::logic_error);
  }
  EXPECT_EQ(row->GetFields().size(), 1u);
  EXPECT_EQ(list->GetElements().size(), 0u);
}

// Strings keep their bytes beside them, NULs and all; a structure that
// outgrows the room its type has needed so far keeps its fields in order,
// and setting a field again replaces it in place.
TEST(ValueArenaTest, StringsAndStructuresReadBackAsMade) {
  ValueArena::Scope arena;
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

// Two threads make structures of several types at once, in runs of their own
// and outside any run. Each must read back exactly what it set; the
// ThreadSanitizer build (the `tsan` preset) checks that they share nothing
// unlocked.
TEST(ValueThreadsTest, StructuresMadeOnTwoThreadsAtOnceStayApart) {
  auto work = [](int thread, bool in_arena) {
    std::optional<ValueArena::Scope> arena;
    if (in_arena) arena.emplace();
    for (int i = 0; i < 2000; ++i) {
      const std::string type = "Type" + std::to_string(i % 5);
      auto row = MetaStruct::New(type);
      row->SetField("Thread", MetaInt::New(thread));
      row->SetField("Field" + std::to_string(i % 7), MetaString::New(std::to_string(i)));
      row->SetField("Thread", MetaInt::New(thread + 10));
      auto again = MetaStruct::New(type);
      again->SetField("Thread", MetaInt::New(0));
      if (row->GetTypeName() != type || row->GetFields().size() != 2 ||
          row->FieldName(1) != "Field" + std::to_string(i % 7) ||
          std::static_pointer_cast<MetaInt>(row->GetField("Thread"))->GetValue() != thread + 10 ||
          TextOf(row->GetField("Field" + std::to_string(i % 7))) != std::to_string(i)) {
        return false;
      }
    }
    return true;
  };
  for (bool in_arena : {false, true}) {
    bool first = false, second = false;
    std::thread a([&] { first = work(1, in_arena); });
    std::thread b([&] { second = work(2, in_arena); });
    a.join();
    b.join();
    EXPECT_TRUE(first && second) << (in_arena ? "in arenas" : "outside arenas");
  }
}

}  // namespace
}  // namespace MetaObj
}  // namespace Cordra
