#include <gtest/gtest.h>

#include "shell/HeroName.h"

namespace dovetail {
namespace {

TEST(HeroName, AcceptanceRule) {
  struct Case {
    const char* text;
    bool accepted;
    const char* surname;
    const char* givenName;
  };
  const Case cases[] = {
      {"桐原\u3000ほのか", true, "桐原", "ほのか"},
      {"山田 花子", true, "山田", "花子"},
      {"\u3000ほのか", true, "", "ほのか"},  // leading space: empty surname
      {" abc", true, "", "abc"},
      {"鈴木\u3000一郎 二", true, "鈴木", "一郎 二"},    // the ideographic space wins
      {"山田\u3000花子さん", true, "山田", "花子さん"},  // seven characters
      {"山田\u3000花子さんだ", false, "", ""},           // eight
      {"山田花子", false, "", ""},                       // no space
      {"山田\u3000", false, "", ""},                     // nothing after the space
      {"A \xF0\x9F\x98\x80", false, "", ""},             // cannot be saved
  };
  for (const Case& c : cases) {
    std::array<std::string, 10> names;
    names[1] = "old1";
    names[2] = "old2";
    EXPECT_EQ(AcceptHeroName(c.text, names), c.accepted) << c.text;
    EXPECT_EQ(HeroNameProblem(c.text).empty(), c.accepted) << c.text;
    EXPECT_EQ(names[1], c.accepted ? c.surname : "old1") << c.text;
    EXPECT_EQ(names[2], c.accepted ? c.givenName : "old2") << c.text;
  }
}

TEST(HeroName, NewGameStartsAFreshStoryButKeepsTheHappyCount) {
  StoryState story;
  story.StageNo = 9;
  story.ScriptPos = 40;
  story.NameEntered = true;
  story.Names[1] = "x";
  story.counters.cof = 3;
  story.counters.HappyCount = 1;
  story.cafe.TotalScore = 500;
  story.cafe.ServeLog[2][3] = 7;
  story.Ranking[0] = {"x", 500, "A"};
  story.Ranking[1] = {"best", 900, "A"};
  NewGame(story);
  EXPECT_EQ(story.StageNo, 2);
  EXPECT_EQ(story.ScriptPos, 0);
  EXPECT_FALSE(story.NameEntered);
  EXPECT_EQ(story.Names[1], "桐原");
  EXPECT_EQ(story.Names[8], "客");
  EXPECT_EQ(story.counters.cof, 0);
  EXPECT_EQ(story.counters.HappyCount, 1);
  EXPECT_EQ(story.cafe.TotalScore, 0);
  EXPECT_EQ(story.cafe.ServeLog[2][3], 0);
  EXPECT_EQ(story.Ranking[0].Grade, "");
  EXPECT_EQ(story.Ranking[1].Name, "best");
  EXPECT_EQ(NameEntryText(story.Names), "桐原\u3000ほのか");
}

}  // namespace
}  // namespace dovetail
