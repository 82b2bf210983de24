#include <gtest/gtest.h>

#include "cordra/cordra.h"
#include "framework/value_text.h"

namespace Cordra {
namespace {

using namespace MetaObj;

TEST(MetaObjTest, ValuesWithoutContentAreUnset) {
  EXPECT_FALSE(MetaBool::New()->IsSet());
  EXPECT_FALSE(MetaInt::New()->IsSet());
  EXPECT_FALSE(MetaString::New()->IsSet());
  EXPECT_TRUE(MetaBool::New(false)->IsSet());
  EXPECT_TRUE(MetaString::New("")->IsSet());
  EXPECT_EQ(INT64_MIN, MetaInt::New(INT64_MIN)->GetValue());
}

TEST(MetaObjTest, StructureFieldsKeepTheOrderOfFirstSetting) {
  auto row = MetaStruct::New("FilesystemVolume");
  row->SetField("Mount Point", MetaString::New());
  row->SetField("Volume Name", MetaString::New());
  row->SetField("Size", MetaInt::New());
  row->SetField("Size", MetaInt::New(100));
  row->SetField("Mount Point", MetaString::New("/kovra/volumes/a"));
  ASSERT_EQ(3u, row->GetFields().size());
  EXPECT_EQ("Mount Point", row->GetFields()[0].first);
  EXPECT_EQ("Size", row->GetFields()[2].first);
  EXPECT_EQ(100, std::static_pointer_cast<MetaInt>(row->GetField("Size"))->GetValue());
  EXPECT_EQ(nullptr, row->GetField("Free"));
}

// Typed reads of values as the parser stores them (parser_test covers the rest).
TEST(InputTest, ReadsTheFirstOfSeveralValuesAndNonNumbersAsZero) {
  CallSpec::Input input;
  input.AddValue("hosts", "192.0.2.1");
  input.AddValue("hosts", "192.0.2.2");
  EXPECT_EQ("192.0.2.1", input.GetParameter("hosts"));
  EXPECT_EQ(0, input.GetParameterInt("hosts"));
}

TEST(ValueTextTest, Int64BoundariesAndGarbage) {
  int64_t value = 7;
  EXPECT_TRUE(Frame::ParseInt64Text("-0", &value));
  EXPECT_EQ(0, value);
  EXPECT_TRUE(Frame::ParseInt64Text("000123", &value));
  EXPECT_EQ(123, value);
  EXPECT_FALSE(Frame::ParseInt64Text("", &value));
  EXPECT_FALSE(Frame::ParseInt64Text("99999999999999999999", &value));
  EXPECT_FALSE(Frame::ParseInt64Text("--1", &value));
  EXPECT_EQ(123, value);  // unchanged by the failures
}

}  // namespace
}  // namespace Cordra
