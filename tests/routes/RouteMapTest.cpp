#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "routes/Route.h"
#include "routes/RouteMap.h"
#include "story/ScriptLoader.h"

namespace dovetail {
namespace {

// Script rows as "label,command,jump,text,param1" (the other columns empty)
// and choice rows as "owner,text,target".
ScriptTables Tables(const std::vector<std::string>& rows, const std::vector<std::string>& choices) {
  std::string script;
  for (const std::string& row : rows) {
    std::vector<std::string> f;
    size_t from = 0;
    for (size_t comma; (comma = row.find(',', from)) != std::string::npos; from = comma + 1)
      f.push_back(row.substr(from, comma - from));
    f.push_back(row.substr(from));
    f.resize(5);
    script += f[0] + "," + f[1] + "," + f[2] + ",,,,,," + f[3] + "," + f[4] + ",,,\r\n";
  }
  std::string choiceText;
  for (const std::string& row : choices)
    choiceText += row + "\r\n";
  ScriptTables tables;
  const Status loaded = LoadScriptTables(script, choiceText, tables, nullptr);
  EXPECT_TRUE(loaded.ok()) << loaded.error().message;
  return tables;
}

RouteMap Mapped(const std::vector<std::string>& rows, const std::vector<std::string>& choices) {
  return MapRoutes(Tables(rows, choices));
}

std::vector<std::string> Texts(const std::vector<MappedRoute>& routes) {
  std::vector<std::string> texts;
  for (const MappedRoute& route : routes)
    texts.push_back(StoryRouteText(route.story));
  return texts;
}

TEST(RouteMap, EachChoiceThatLeadsOnDifferentlyIsARouteWithItsEndAndLabels) {
  // Coffee raises HappyCount (the staff roll); tea and juice lead on the same
  // way and are one route; a later counter test picks a scene per answer.
  const RouteMap map =
      Mapped({"1000,,,hello", "1010,s,,3", "1020,p1,,hap", "1020,p1,,cof", "1020,g0,1040",
              "1030,,,tea or juice", "1040,i1,1060,cof,1", "1050,,,no coffee", "1050,g0,1070",
              "1060,,,coffee", "1070,e", "1080,,,after the end", "1999,,,never run"},
             {"1010,coffee,1020", "1010,tea,1030", "1010,juice,1030"});
  EXPECT_EQ(Texts(map.routes), (std::vector<std::string>{"1", "2"}));
  ASSERT_EQ(map.routes.size(), 2u);
  EXPECT_EQ(map.routes[0].end, RouteEnd::StaffRoll);
  EXPECT_EQ(map.routes[1].end, RouteEnd::Ending);
  EXPECT_EQ(map.routes[0].labels, (std::vector<int16_t>{1000, 1010, 1020, 1040, 1060, 1070}));
  EXPECT_EQ(map.routes[1].labels, (std::vector<int16_t>{1000, 1010, 1030, 1040, 1050, 1070}));
  // The last record is arrived at, never run: only 1080 is out of reach.
  EXPECT_EQ(map.unreached, (std::vector<int16_t>{1080}));
  EXPECT_TRUE(map.problems.empty());
}

TEST(RouteMap, TheFinalGradeTestGivesARouteForEachOutcome) {
  // Twelve stage steps take a new story from stage 2 to 14, whose café stage
  // ends with the final grade; before it a grade test never jumps.
  std::vector<std::string> rows = {"1000,i0,1100", "1000,g3"};
  for (int i = 0; i < 12; ++i)
    rows.push_back("1000,g1");
  rows.insert(rows.end(), {"1000,g3", "1000,i0,1100", "1010,,,low", "1010,e", "1100,,,high",
                           "1100,e", "1999,,,end"});
  const RouteMap map = Mapped(rows, {});
  ASSERT_EQ(map.routes.size(), 2u);
  EXPECT_EQ(map.routes[0].grade, GradeNeed::High);
  EXPECT_EQ(map.routes[0].labels, (std::vector<int16_t>{1000, 1100}));
  EXPECT_EQ(map.routes[1].grade, GradeNeed::Low);
  EXPECT_EQ(map.routes[1].labels, (std::vector<int16_t>{1000, 1010}));
  ASSERT_EQ(map.covering.size(), 2u);
  EXPECT_EQ(map.covering[0].grade, GradeNeed::High);
  EXPECT_EQ(map.covering[1].grade, GradeNeed::Low);
}

TEST(RouteMap, TheExtraStoryIsMappedFromItsLabelWithItsSavePoints) {
  const RouteMap map = Mapped({"1000,g2", "1000,,,story", "1000,e", "1059,,,extra", "1060,g2",
                               "1060,s,,2", "1070,,,a", "1080,,,b", "1999,,,end"},
                              {"1060,a,1070", "1060,b,1080"});
  EXPECT_EQ(Texts(map.routes), (std::vector<std::string>{"none", "extra:1", "extra:2"}));
  ASSERT_EQ(map.routes.size(), 3u);
  EXPECT_EQ(map.routes[0].saves.size(), 1u);
  EXPECT_EQ(map.routes[0].saves[0].label, 1000);
  EXPECT_EQ(map.routes[2].end, RouteEnd::ScriptEnd);
  EXPECT_EQ(map.routes[2].labels, (std::vector<int16_t>{1059, 1060, 1080}));
  ASSERT_EQ(map.routes[2].saves.size(), 1u);
  EXPECT_EQ(map.routes[2].saves[0].label, 1060);
  EXPECT_EQ(map.routes[2].saves[0].picksBefore, 0u);
  EXPECT_TRUE(map.unreached.empty());
}

TEST(RouteMap, LoopsAndContentErrorsAreProblemsNamingTheirLabel) {
  // Option 1 goes back to the same choice with nothing changed; the story
  // after option 2 jumps to a label that does not exist.
  const RouteMap map = Mapped({"1000,s,,2", "1010,g0,1000", "1020,g0,1500", "1020,e", "1999,,,end"},
                              {"1000,again,1010", "1000,on,1020"});
  EXPECT_EQ(Texts(map.routes), (std::vector<std::string>{"2"}));
  ASSERT_EQ(map.problems.size(), 2u);
  EXPECT_EQ(map.problems[0].label, 1020);
  EXPECT_NE(map.problems[0].message.find("Not found NUM:1020"), std::string::npos);
  EXPECT_EQ(map.problems[1].label, 1000);
  EXPECT_NE(map.problems[1].message.find("loop"), std::string::npos);
}

// A page the story comes back to in the same state, with nothing between
// that could end it, is a loop at once, not after the step limit.
TEST(RouteMap, APageTheStoryWaitsOnAgainInTheSameStateIsALoop) {
  const RouteMap map = Mapped({"1000,,,once", "1010,,,again", "1010,g0,1010", "1999,,,end"}, {});
  ASSERT_EQ(map.problems.size(), 1u);
  EXPECT_EQ(map.problems[0].label, 1010);
  EXPECT_EQ(map.problems[0].record, 1);
  EXPECT_NE(map.problems[0].message.find("(a loop)"), std::string::npos);
  // Coming back with a counter changed that a later test reads is no loop.
  const RouteMap counted = Mapped(
      {"1000,,,page", "1000,p1,,cof", "1000,i1,1010,cof,3", "1000,g0,1000", "1010,e", "1999,,,end"},
      {});
  EXPECT_TRUE(counted.problems.empty()) << counted.problems[0].message;
}

TEST(RouteMap, AStoryThatNeverStopsIsAStall) {
  const RouteMap map = Mapped({"1000,g0,1000", "1999,,,end"}, {});
  ASSERT_EQ(map.routes.size(), 1u);
  EXPECT_EQ(map.routes[0].end, RouteEnd::Stall);
  ASSERT_EQ(map.problems.size(), 1u);
  EXPECT_EQ(map.problems[0].label, 1000);
}

TEST(RouteMap, IndependentChoicesMultiplyAndTheLimitCutsTheList) {
  // Two independent choices: four routes; the limit keeps the first three.
  const ScriptTables tables =
      Tables({"1000,s,,2", "1010,p1,,set", "1020,s,,2", "1030,p1,,sai", "1040,i1,1060,set,1",
              "1050,i1,1060,sai,1", "1050,e", "1060,p1,,hap", "1060,e", "1999,,,end"},
             {"1000,a,1010", "1000,b,1020", "1020,c,1030", "1020,d,1040"});
  const RouteMap map = MapRoutes(tables);
  EXPECT_EQ(Texts(map.routes), (std::vector<std::string>{"1,1", "1,2", "2,1", "2,2"}));
  EXPECT_EQ(map.routes[3].end, RouteEnd::Ending);
  EXPECT_EQ(map.routes[0].end, RouteEnd::StaffRoll);
  const RouteMap limited = MapRoutes(tables, 3);
  EXPECT_EQ(limited.routes.size(), 3u);
  EXPECT_FALSE(limited.complete);
}

TEST(RouteMap, ACounterNothingReadsAnyMoreDoesNotSplitTheChoicesAfterIt) {
  // The first answer raises "set", which nothing reads: the second choice is
  // the same choice after either answer, so two routes take every branch.
  const RouteMap map =
      Mapped({"1000,s,,2", "1010,p1,,set", "1020,s,,2", "1030,,,c", "1040,e", "1999,,,end"},
             {"1000,a,1010", "1000,b,1020", "1020,c,1030", "1020,d,1040"});
  EXPECT_EQ(Texts(map.routes), (std::vector<std::string>{"1,1", "1,2", "2,1", "2,2"}));
  EXPECT_EQ(Texts(map.covering), (std::vector<std::string>{"1,1", "2,2"}));
  // Once a later test reads it, the answers lead to two different choices.
  const RouteMap read = Mapped({"1000,s,,2", "1010,p1,,set", "1020,s,,2", "1030,,,c",
                                "1040,i1,1050,set,1", "1040,e", "1050,e", "1999,,,end"},
                               {"1000,a,1010", "1000,b,1020", "1020,c,1030", "1020,d,1040"});
  EXPECT_EQ(Texts(read.covering), (std::vector<std::string>{"1,1", "2,1", "1,2", "2,2"}));
}

TEST(Route, TextFormsReadBackAsWritten) {
  for (const char* text : {"1,2,3", "none", "first", "last", "random:42", "extra:2,1", "load:none",
                           "first+extra:first", "load:3+extra:none"}) {
    auto route = ParseRoute(text);
    ASSERT_TRUE(route.ok()) << text;
    EXPECT_EQ(RouteText(*route), text);
  }
  auto route = ParseRoute("extra:2,1");
  ASSERT_TRUE(route.ok());
  EXPECT_EQ((*route)[0].start, StoryRoute::Start::Extra);
  EXPECT_EQ((*route)[0].list, (std::vector<int>{2, 1}));
  for (const char* bad : {"", "0", "1,,2", "a", "random:", "random:x", "1+", "extra:"}) {
    EXPECT_FALSE(ParseRoute(bad).ok()) << bad;
  }
}

}  // namespace
}  // namespace dovetail
