#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "scene/StoryCounters.h"
#include "shell/GameEvents.h"
#include "story/Commands.h"
#include "support/StubStoryHandlers.h"

namespace dovetail {
namespace {

constexpr int32_t kTargetIndex = 7;

// Every counter with the text that addresses it.
const std::vector<std::pair<std::string, int16_t StoryCounters::*>> kCounters = {
    {"kaimon", &StoryCounters::kaiMon}, {"kairoi", &StoryCounters::kaiRoi},
    {"kaiumi", &StoryCounters::kaiUmi}, {"kaiawa", &StoryCounters::kaiAwa},
    {"kaiter", &StoryCounters::kaiTer}, {"set", &StoryCounters::set},
    {"sai", &StoryCounters::sai},       {"zou", &StoryCounters::zou},
    {"cof", &StoryCounters::cof},       {"coc", &StoryCounters::coc},
    {"nom", &StoryCounters::nom},       {"jou", &StoryCounters::jou},
    {"sak", &StoryCounters::sak},       {"nam", &StoryCounters::nam},
    {"izu", &StoryCounters::izu},       {"cre", &StoryCounters::cre},
    {"kya", &StoryCounters::kya},       {"hap", &StoryCounters::HappyCount},
};

std::vector<int16_t> Values(const StoryCounters& counters) {
  std::vector<int16_t> values;
  for (const auto& [code, member] : kCounters)
    values.push_back(counters.*member);
  return values;
}

class StoryCountersTest : public ::testing::Test {
 protected:
  StoryCountersTest() : handlers(story), interpreter(story, host, handlers, events) {
    story.tables.Labels[0] = {1000, 0};
    story.tables.Labels[1] = {2000, kTargetIndex};
    story.tables.LabelCount = 2;
  }

  // Sets up the current record: label 1000, jump target 2000.
  void Record(const std::string& command, const std::string& text, const std::string& param1 = "") {
    story.CurLabel = 1000;
    story.CurJump = 2000;
    story.ScriptPos = 3;
    story.CurCommand = command;
    story.CurText = text;
    story.CurParam1 = param1;
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> Reports() const {
    std::vector<std::string> texts;
    for (const auto& box : host.MessageBoxes())
      texts.push_back(box.request.text);
    return texts;
  }

  HeadlessHost host;
  StoryState story;
  testing::StubStoryHandlers handlers;
  IgnoredEvents events;
  Interpreter interpreter;
};

TEST_F(StoryCountersTest, P1RaisesExactlyTheAddressedCounter) {
  for (size_t i = 0; i < kCounters.size(); ++i) {
    SCOPED_TRACE(kCounters[i].first);
    story.counters = {};
    // Only the first three characters count (and, for "kai", the last three).
    const std::string& code = kCounters[i].first;
    Record("p1", code.starts_with("kai") ? code : code + "xyz");
    std::vector<int16_t> expected(kCounters.size(), 0);
    expected[i] = 1;
    EXPECT_EQ(CmdCount(story, host), kAdvance);
    EXPECT_EQ(Values(story.counters), expected);
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(StoryCountersTest, KaiIsRefinedByTheTextsLastThreeCharacters) {
  Record("p1", "kaiumi");
  CmdCount(story, host);
  EXPECT_EQ(story.counters.kaiUmi, 1);
  Record("p1", " kai-to-umi ");
  CmdCount(story, host);
  EXPECT_EQ(story.counters.kaiUmi, 2);

  const std::vector<int16_t> before = Values(story.counters);
  for (const char* text : {"kaixyz", "kai", "abc", "", "ka"}) {
    Record("p1", text);
    EXPECT_EQ(CmdCount(story, host), kAdvance) << text;
    EXPECT_EQ(Values(story.counters), before) << text;
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(StoryCountersTest, P2AddsToSetOnly) {
  Record("p2", "set", "5");
  CmdCount(story, host);
  Record("p2", "settle", "-2");
  CmdCount(story, host);
  EXPECT_EQ(story.counters.set, 3);

  Record("p2", "cof", "5");
  CmdCount(story, host);
  EXPECT_EQ(Values(story.counters), Values(StoryCounters{.set = 3}));
  EXPECT_TRUE(Reports().empty());

  Record("p2", "set", "many");
  EXPECT_EQ(CmdCount(story, host), kAdvance);
  EXPECT_EQ(story.counters.set, 3);
  EXPECT_EQ(Reports(), std::vector<std::string>{
                           "Script error at label 1000: the amount \"many\" is not a number"});
}

TEST_F(StoryCountersTest, CountersStayInsideTheIntegerRange) {
  story.counters.cof = 32767;
  story.counters.HappyCount = 32767;
  Record("p1", "cof");
  CmdCount(story, host);
  Record("p1", "hap");
  CmdCount(story, host);
  EXPECT_EQ(story.counters.cof, 32767);
  EXPECT_EQ(story.counters.HappyCount, 32767);

  story.counters.set = 32760;
  Record("p2", "set", "100");
  CmdCount(story, host);
  EXPECT_EQ(story.counters.set, 32767);
  story.counters.set = -32760;
  Record("p2", "set", "-100");
  CmdCount(story, host);
  EXPECT_EQ(story.counters.set, -32768);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(StoryCountersTest, PVariantsWithoutEffectAndUnknownOnes) {
  for (const char* command : {"p0", "p7", "p8", "p9"}) {
    Record(command, "cof", "5");
    EXPECT_EQ(CmdCount(story, host), kAdvance) << command;
  }
  EXPECT_EQ(Values(story.counters), Values(StoryCounters{}));
  EXPECT_TRUE(Reports().empty());

  for (const char* command : {"p3", "p6", "p"}) {
    Record(command, "cof");
    EXPECT_EQ(CmdCount(story, host), kAdvance) << command;
  }
  EXPECT_EQ(Values(story.counters), Values(StoryCounters{}));
  EXPECT_EQ(Reports(), std::vector<std::string>(3, "error(p?):1000"));
}

TEST_F(StoryCountersTest, I0JumpsForGradesAAndB) {
  const std::vector<std::pair<std::string, bool>> cases = {{"A", true},  {"B", true}, {"C", false},
                                                           {"S", false}, {"", false}, {"a", false}};
  for (const auto& [grade, jumps] : cases) {
    SCOPED_TRACE(grade);
    story.Ranking[0].Grade = grade;
    Record("i0", "");
    EXPECT_EQ(CmdIf(story, interpreter, host), jumps ? kJumped : kAdvance);
    EXPECT_EQ(story.ScriptPos, jumps ? kTargetIndex : 3);
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(StoryCountersTest, I1JumpsWhenTheCounterEqualsTheValue) {
  struct Case {
    std::string text;
    int16_t cof;
    std::string value;
    bool jumps;
  };
  const std::vector<Case> cases = {
      {"cof", 1, "2", false},   {"cof", 2, "2", true},     {"cof", 3, "2", false},
      {"cof", 2, "2.5", false}, {"cof", 0, "", true},      {"coffee", 2, "2", true},
      {"xyz", 2, "2", false},   {"kaixyz", 0, "0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " " + std::to_string(c.cof) + " = " + c.value);
    story.counters.cof = c.cof;
    Record("i1", c.text, c.value);
    EXPECT_EQ(CmdIf(story, interpreter, host), c.jumps ? kJumped : kAdvance);
    EXPECT_EQ(story.ScriptPos, c.jumps ? kTargetIndex : 3);
  }
  // HappyCount is only raised, never tested.
  story.counters.HappyCount = 2;
  Record("i1", "hap", "2");
  EXPECT_EQ(CmdIf(story, interpreter, host), kAdvance);
  // Every other counter is.
  for (const auto& [code, member] : kCounters) {
    if (code == "hap") continue;
    story.counters = {};
    story.counters.*member = 4;
    Record("i1", code, "4");
    EXPECT_EQ(CmdIf(story, interpreter, host), kJumped) << code;
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(StoryCountersTest, IVariantsWithoutEffectAndBadValues) {
  story.Ranking[0].Grade = "A";
  story.counters.cof = 2;
  Record("i2", "cof", "2");
  EXPECT_EQ(CmdIf(story, interpreter, host), kAdvance);
  EXPECT_TRUE(Reports().empty());

  for (const char* command : {"i3", "i9"}) {
    Record(command, "cof", "2");
    EXPECT_EQ(CmdIf(story, interpreter, host), kAdvance);
  }
  Record("i1", "cof", "two");
  EXPECT_EQ(CmdIf(story, interpreter, host), kAdvance);
  EXPECT_EQ(story.ScriptPos, 3);
  EXPECT_EQ(Reports(), (std::vector<std::string>{
                           "error(i?):1000", "error(i?):1000",
                           "Script error at label 1000: the value \"two\" is not a number"}));
}

TEST_F(StoryCountersTest, DComparesTheStageWithTheText) {
  struct Case {
    const char* command;
    const char* v;
    int16_t stage;
    const char* e;
    bool jumps;
  };
  const std::vector<Case> cases = {
      {"d0", "5", 5, "", true},   {"d0", "5", 4, "", false},  {"d0", "5", 6, "", false},
      {"d1", "5", 6, "", true},   {"d1", "5", 5, "", false},  {"d2", "5", 4, "", false},
      {"d2", "5", 5, "", true},   {"d2", "5", 6, "", true},   {"d3", "5", 4, "", true},
      {"d3", "5", 5, "", false},  {"d4", "5", 5, "", true},   {"d4", "5", 6, "", false},
      {"d9", "5", 5, "5", true},  {"d9", "5", 6, "7", false}, {"d9", "5", 7, "7", true},
      {"d9", "5", 4, "3", false}, {"d9", "3", 4, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " V=" + c.v + " S=" + std::to_string(c.stage) +
                 " E=" + c.e);
    story.StageNo = c.stage;
    Record(c.command, c.v, c.e);
    EXPECT_EQ(CmdCompare(story, interpreter, host), c.jumps ? kJumped : kAdvance);
    EXPECT_EQ(story.ScriptPos, c.jumps ? kTargetIndex : 3);
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(StoryCountersTest, DUnknownVariantsAndBadValuesAreReported) {
  story.StageNo = 9;
  for (const char* command : {"d5", "d8", "d"}) {
    Record(command, "1");
    EXPECT_EQ(CmdCompare(story, interpreter, host), kAdvance);
  }
  Record("d2", "five");
  EXPECT_EQ(CmdCompare(story, interpreter, host), kAdvance);
  Record("d9", "1", "x");
  EXPECT_EQ(CmdCompare(story, interpreter, host), kAdvance);
  EXPECT_EQ(story.ScriptPos, 3);
  EXPECT_EQ(Reports(), (std::vector<std::string>{
                           "error(d?):1000", "error(d?):1000", "error(d?):1000",
                           "Script error at label 1000: the stage \"five\" is not a number",
                           "Script error at label 1000: the stage \"x\" is not a number"}));
}

TEST_F(StoryCountersTest, CAcceptsZeroToTwoAndReportsOtherDigitsAsI) {
  for (const char* command : {"c0", "c1", "c2", "c3", "c9"}) {
    if (std::string(command) == "c3") {
      EXPECT_TRUE(Reports().empty());
    }
    Record(command, "");
    EXPECT_EQ(CmdReserved(story, host), kAdvance) << command;
  }
  EXPECT_EQ(Reports(), std::vector<std::string>(2, "error(i?):1000"));
}

}  // namespace
}  // namespace dovetail

namespace dovetail {
namespace {

// The command table and the commands agree: a command of the table reports
// exactly the variants the table does not list, with the table's text, and
// jumps only with the variants the table says jump.
TEST_F(StoryCountersTest, TheCommandsActOnTheVariantsTheirTableLists) {
  const std::pair<char, std::function<int32_t()>> commands[] = {
      {'p', [this] { return CmdCount(story, host); }},
      {'i', [this] { return CmdIf(story, interpreter, host); }},
      {'d', [this] { return CmdCompare(story, interpreter, host); }},
      {'c', [this] { return CmdReserved(story, host); }},
  };
  for (const auto& [letter, run] : commands) {
    const CommandRule* rule = FindCommandRule(std::string(1, letter));
    ASSERT_NE(rule, nullptr) << letter;
    for (char variant : std::string("0123456789x")) {
      const std::string command{letter, variant};
      SCOPED_TRACE(command);
      // Values that make every known variant jump where it can.
      story.Ranking[0].Grade = "A";
      story.StageNo = 5;
      story.counters.set = 1;
      Record(command, letter == 'd' ? "5" : "set", letter == 'd' ? "5" : "1");
      const size_t before = host.MessageBoxes().size();
      const int32_t result = run();
      const bool reported = host.MessageBoxes().size() > before;
      EXPECT_EQ(reported, !KnownVariant(*rule, command));
      if (reported) {
        EXPECT_EQ(Reports().back(), UnknownVariantText(*rule) + "1000");
      } else if (result == kJumped) {
        EXPECT_TRUE(NeedsJumpTarget(command));
      }
    }
  }
}

}  // namespace
}  // namespace dovetail
