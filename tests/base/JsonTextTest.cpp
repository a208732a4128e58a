#include <gtest/gtest.h>

#include "base/JsonText.h"

namespace dovetail {
namespace {

TEST(JsonWriter, WritesNestedObjectsAndArraysWithCommasBetweenEntries) {
  JsonWriter json;
  json.BeginObject().Key("t").Number(-12).Key("ok").Bool(true).Key("list").BeginArray();
  json.String("a").BeginObject().EndObject().BeginArray().EndArray().Number(0).EndArray();
  json.Key("no").Bool(false).Key("inner").BeginObject().Key("k").String("v").EndObject();
  json.EndObject();
  EXPECT_EQ(json.Text(),
            R"({"t":-12,"ok":true,"list":["a",{},[],0],"no":false,"inner":{"k":"v"}})");
}

TEST(JsonWriter, TopLevelValuesAndEmptyContainers) {
  EXPECT_EQ(JsonWriter().BeginArray().EndArray().Text(), "[]");
  EXPECT_EQ(JsonWriter().BeginObject().EndObject().Text(), "{}");
  EXPECT_EQ(JsonWriter().Number(INT64_MIN).Text(), "-9223372036854775808");
}

TEST(JsonWriter, EscapesKeysAndStrings) {
  JsonWriter json;
  json.BeginObject().Key("a\"b").String("line\r\n\ttab\\ \x01 名前").EndObject();
  EXPECT_EQ(json.Text(), R"({"a\"b":"line\r\n\ttab\\ \u0001 名前"})");
}

}  // namespace
}  // namespace dovetail
