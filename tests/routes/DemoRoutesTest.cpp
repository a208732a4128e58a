// The bundled demo played by the auto-player along the routes its own
// script gives, whatever story the demo holds: every route (or, when there
// are many, routes that together take every branch) to its end, every label,
// both endings and the extra story reached, and every save point loaded back.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "routes/RouteMap.h"
#include "shell/Settings.h"
#include "storage/DataFolder.h"
#include "storage/FolderPlayerFiles.h"
#include "support/LogLine.h"
#include "support/PlayedRun.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;

const fs::path kBuilt = fs::path(DOVETAIL_BUILD_DIR) / "data";

// Up to this many routes the suite plays every one; beyond, the routes that
// together take every branch of every choice (and so reach every label and
// every end the full list reaches).
constexpr size_t kPlayEveryRouteUpTo = 40;
// The route and save-point suites are split into this many ctest entries,
// which ctest runs side by side.
constexpr int kShards = 4;

// The demo's script tables and their route map, worked out once a process.
struct DemoScript {
  ScriptTables tables;
  RouteMap map;
};

const DemoScript& Demo() {
  static const DemoScript demo = [] {
    DemoScript loaded;
    if (LoadScript(kBuilt, loaded.tables, nullptr).ok()) loaded.map = MapRoutes(loaded.tables);
    return loaded;
  }();
  return demo;
}

const std::vector<MappedRoute>& PlayedRoutes(const RouteMap& map) {
  return map.routes.size() > kPlayEveryRouteUpTo || !map.complete ? map.covering : map.routes;
}

// One step of a run's log: the record's position, its label and command.
struct LoggedStep {
  int32_t position = 0;
  int16_t label = 0;
  std::string command;
};

std::vector<LoggedStep> Steps(const std::vector<std::string>& lines) {
  std::vector<LoggedStep> steps;
  for (const testing::LogLine& line : testing::EventsNamed(lines, "step")) {
    steps.push_back({static_cast<int32_t>(line.Num("position")),
                     static_cast<int16_t>(line.Num("label")), line.Str("command")});
  }
  return steps;
}

// A fresh copy of the built demo for one run, without a save.
class DemoCopy {
 public:
  explicit DemoCopy(const std::string& name)
      : game_(fs::temp_directory_path() /
              ("dovetail-routes-" + name + "-" + std::to_string(::getpid()))) {
    fs::remove_all(game_);
    fs::create_directories(game_);
    fs::copy(kBuilt, game_ / "data", fs::copy_options::recursive);
    fs::remove(game_ / "data" / "40.dat");
  }
  ~DemoCopy() {
    std::error_code ec;
    fs::remove_all(game_, ec);
  }
  DemoCopy(const DemoCopy&) = delete;
  DemoCopy& operator=(const DemoCopy&) = delete;

  // The title offers the extra story, as after a first café stage past the
  // first.
  void Unlock() {
    Settings settings;
    FolderPlayerFiles files = FolderPlayerFiles::OfDataFolder(game_ / "data");
    ASSERT_TRUE(MarkClearedAfterStage(files, 3, settings).ok());
  }

  testing::PlayedRun Play(const std::string& route, GradeNeed grade, uint32_t quitAfterSaves = 0) {
    RunnerOptions options;
    options.gameFolder = game_;
    options.snapDir = game_;
    options.cafe = grade == GradeNeed::Low ? CafePolicy::Idle : CafePolicy::Perfect;
    AutoOptions autoPlay;
    autoPlay.route = ParseRoute(route).value();
    autoPlay.quitAfterSaves = quitAfterSaves;
    options.autoPlay = std::move(autoPlay);
    static auto renderer = MakeFreeTypeTextRenderer().value();
    return testing::RunHeadless(std::move(options), *renderer);
  }

 private:
  fs::path game_;
};

class DemoRoutes : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kBuilt / "51.dat")) GTEST_SKIP() << "the demo data folder is not built";
  }
};

TEST_F(DemoRoutes, ReachEveryLabelBothEndingsAndTheExtraStoryWithoutAProblem) {
  const RouteMap& map = Demo().map;
  ASSERT_FALSE(map.routes.empty());
  std::string unreached;
  for (int16_t label : map.unreached)
    unreached += " " + std::to_string(label);
  EXPECT_TRUE(map.unreached.empty()) << "labels no route reaches:" << unreached;
  // The routes the suite plays run every label but the closing record's.
  std::set<int16_t> played;
  for (const MappedRoute& route : PlayedRoutes(map))
    played.insert(route.labels.begin(), route.labels.end());
  const ScriptTables& tables = Demo().tables;
  std::string unplayed;
  for (int32_t i = 0; i < tables.LabelCount; ++i) {
    const LabelEntry& entry = tables.Labels[i];
    if (entry.Index != tables.LastRecord && !played.contains(entry.Label)) {
      unplayed += " " + std::to_string(entry.Label);
    }
  }
  EXPECT_TRUE(unplayed.empty()) << "labels the played routes do not run:" << unplayed;
  for (const RouteProblem& problem : map.problems)
    ADD_FAILURE() << "label " << problem.label << ": " << problem.message;
  std::set<RouteEnd> ends;
  bool extra = false;
  for (const MappedRoute& route : PlayedRoutes(map)) {
    ends.insert(route.end);
    extra |= route.story.start == StoryRoute::Start::Extra;
  }
  EXPECT_TRUE(ends.contains(RouteEnd::StaffRoll));
  EXPECT_TRUE(ends.contains(RouteEnd::Ending));
  EXPECT_FALSE(ends.contains(RouteEnd::Stall));
  EXPECT_TRUE(extra) << "no route reaches the extra story";
}

class DemoRouteShard : public DemoRoutes, public ::testing::WithParamInterface<int> {};

// Each route plays to its end with the labels its map gives, the ending it
// leads to, and the final grade it needs.
TEST_P(DemoRouteShard, PlaysEachRouteToItsEnd) {
  const RouteMap& map = Demo().map;
  const std::vector<MappedRoute>& played = PlayedRoutes(map);
  for (size_t n = GetParam(); n < played.size(); n += kShards) {
    const MappedRoute& route = played[n];
    const std::string text = StoryRouteText(route.story);
    SCOPED_TRACE("route " + text);
    DemoCopy copy("play-" + std::to_string(GetParam()));
    if (route.story.start == StoryRoute::Start::Extra) copy.Unlock();
    const testing::PlayedRun run = copy.Play(text, route.grade);
    EXPECT_EQ(run.code, 0) << run.failure;

    std::set<int16_t> labels;
    for (const LoggedStep& step : Steps(run.lines))
      labels.insert(step.label);
    EXPECT_EQ(std::vector<int16_t>(labels.begin(), labels.end()), route.labels);

    const bool ending = route.end == RouteEnd::Ending || route.end == RouteEnd::StaffRoll;
    EXPECT_EQ(testing::Logged(run.lines, "ending"), ending);
    if (ending) {
      EXPECT_TRUE(testing::Logged(run.lines, "ending", "staffroll",
                                  route.end == RouteEnd::StaffRoll ? "true" : "false"));
      EXPECT_TRUE(testing::Logged(run.lines, "ranking", "mode", "1"));
    }
    if (route.grade == GradeNeed::High) {
      EXPECT_TRUE(testing::Logged(run.lines, "final", "grade", "A") ||
                  testing::Logged(run.lines, "final", "grade", "B"));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, DemoRouteShard, ::testing::Range(0, kShards));

// Every save point, in the first route that passes it: quitting right after
// the save and loading it from the title goes on with the records the
// uninterrupted route runs after it.
class DemoSaveShard : public DemoRoutes, public ::testing::WithParamInterface<int> {};

TEST_P(DemoSaveShard, LoadingEachSavePointGoesOnWhereItWasSaved) {
  const RouteMap& map = Demo().map;
  // The first route played through each save point, and which of its saves
  // it is.
  const std::vector<MappedRoute>& played = PlayedRoutes(map);
  std::map<int16_t, std::pair<size_t, size_t>> points;
  for (size_t i = 0; i < played.size(); ++i) {
    for (size_t k = 0; k < played[i].saves.size(); ++k)
      points.try_emplace(played[i].saves[k].label, i, k);
  }
  int n = 0;
  for (const auto& [label, where] : points) {
    if (n++ % kShards != GetParam()) continue;
    const MappedRoute& route = played[where.first];
    const size_t k = where.second;
    const std::string text = StoryRouteText(route.story);
    SCOPED_TRACE("save point " + std::to_string(label) + " on route " + text);
    DemoCopy copy("save-" + std::to_string(GetParam()));
    if (route.story.start == StoryRoute::Start::Extra) copy.Unlock();

    const std::vector<LoggedStep> whole = Steps(copy.Play(text, route.grade).lines);
    size_t saves = 0;
    auto after = std::find_if(whole.begin(), whole.end(), [&](const LoggedStep& step) {
      return step.command == "g2" && saves++ == k;
    });
    ASSERT_NE(after, whole.end());
    ASSERT_EQ(after->label, label);

    const testing::PlayedRun quit = copy.Play(text, route.grade, static_cast<uint32_t>(k + 1));
    EXPECT_EQ(quit.code, 0) << quit.failure;
    StoryRoute rest;
    rest.start = StoryRoute::Start::Load;
    rest.list.assign(
        route.story.list.begin() + static_cast<std::ptrdiff_t>(route.saves[k].picksBefore),
        route.story.list.end());
    const testing::PlayedRun loaded = copy.Play(StoryRouteText(rest), route.grade);
    EXPECT_EQ(loaded.code, 0) << loaded.failure;
    EXPECT_TRUE(testing::Logged(loaded.lines, "msgbox", "text", "ロードしました."));

    std::vector<int32_t> expected;
    for (auto it = after + 1; it != whole.end(); ++it)
      expected.push_back(it->position);
    std::vector<int32_t> positions;
    for (const LoggedStep& step : Steps(loaded.lines))
      positions.push_back(step.position);
    EXPECT_EQ(positions, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, DemoSaveShard, ::testing::Range(0, kShards));

}  // namespace
}  // namespace dovetail
