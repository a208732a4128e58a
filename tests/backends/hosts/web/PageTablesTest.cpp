// The page's tables (PageTables.h) name every value of the enums they stand
// for: a value added to an enum without its entry fails here, before the page
// ever meets a number it does not know.

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "backends/hosts/web/PageTables.h"

namespace dovetail {
namespace {

// Whether V is one of its enum's named values: the compiler spells a named
// value by its name and any other as a cast, "(Enum)14" (GCC and Clang).
template <auto V>
constexpr bool IsNamed() {
  const std::string_view signature = __PRETTY_FUNCTION__;
  const size_t at = signature.rfind("V = ");
  return at != std::string_view::npos && signature[at + 4] != '(';
}

template <typename E, int... I>
std::vector<int> NamedValues(std::integer_sequence<int, I...>) {
  std::vector<int> named;
  ((IsNamed<static_cast<E>(I)>() ? named.push_back(I) : void()), ...);
  return named;
}

// Every named value of E from 0 below N.
template <typename E, int N>
std::vector<int> NamedValuesBelow() {
  return NamedValues<E>(std::make_integer_sequence<int, N>());
}

template <typename Entries>
std::vector<int> TableValues(const Entries& entries) {
  std::vector<int> values;
  for (const auto& entry : entries)
    values.push_back(static_cast<int>(entry.value));
  std::sort(values.begin(), values.end());
  return values;
}

TEST(PageTables, TheProbeTellsNamedValuesFromOthers) {
  EXPECT_TRUE(IsNamed<InputEvent::Kind::DialogKey>());
  EXPECT_FALSE(IsNamed<static_cast<InputEvent::Kind>(99)>());
  EXPECT_TRUE(IsNamed<kKeyF12>());
  EXPECT_FALSE(IsNamed<static_cast<KeyCode>(124)>());
}

TEST(PageTables, EveryValueOfTheEnumsHasItsEntry) {
  EXPECT_EQ(TableValues(page::kInputKinds), (NamedValuesBelow<InputEvent::Kind, 64>()));
  EXPECT_EQ(TableValues(page::kMouseButtons), (NamedValuesBelow<MouseButton, 64>()));
  EXPECT_EQ(TableValues(page::kControlKinds), (NamedValuesBelow<DialogControlKind, 64>()));
  std::vector<int> shiftBits = NamedValuesBelow<ShiftState, 64>();
  std::erase(shiftBits, static_cast<int>(kShiftNone));
  EXPECT_EQ(TableValues(page::kShiftBits), shiftBits);
}

TEST(PageTables, TablesInTheEnumsOrderAreIndexedByValue) {
  for (size_t i = 0; i < std::size(page::kInputKinds); ++i)
    EXPECT_EQ(page::kInputKinds[i].value, static_cast<int32_t>(i)) << page::kInputKinds[i].name;
  for (size_t i = 0; i < std::size(page::kControlKinds); ++i)
    EXPECT_EQ(static_cast<size_t>(page::kControlKinds[i].value), i) << page::kControlKinds[i].name;
  EXPECT_EQ(page::ControlKindName(DialogControlKind::TextBox), "text");
}

// Every key code the program names is one the page sends, by name or in a run.
TEST(PageTables, ThePageSendsEveryKeyTheProgramNames) {
  std::vector<int> sent;
  for (const page::Named& key : page::kNamedKeys)
    sent.push_back(key.value);
  for (const page::KeyRun& run : page::kKeyRuns) {
    for (int i = 0; i < run.count; ++i)
      sent.push_back(run.code + i);
  }
  for (int code : NamedValuesBelow<KeyCode, 256>()) {
    EXPECT_NE(std::find(sent.begin(), sent.end(), code), sent.end()) << "key code " << code;
  }
  EXPECT_EQ(page::kKeyRuns[0].code + page::kKeyRuns[0].count - 1, kKeyF12);
}

TEST(PageTables, PageEventFieldsCoverTheRecord) {
  size_t end = 0;
  for (const page::Field& field : page::kPageEventFields) {
    EXPECT_EQ(field.offset, end) << field.name;
    EXPECT_EQ(field.offset % 4, 0u) << field.name;
    end = field.offset + field.size;
  }
  EXPECT_EQ(end, sizeof(PageEvent));
}

}  // namespace
}  // namespace dovetail
