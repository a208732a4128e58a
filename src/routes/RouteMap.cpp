#include "routes/RouteMap.h"

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <variant>

#include "minigame/StageCalendar.h"
#include "platform/HeadlessHost.h"
#include "routes/CounterLiveness.h"
#include "scene/CharacterPlaces.h"
#include "scene/Choices.h"
#include "scene/Ending.h"
#include "scene/StoryCounters.h"
#include "script/Interpreter.h"
#include "script/NewStory.h"
#include "shell/TitleScreen.h"

namespace dovetail {

namespace {

// Records a stretch of story may run without reaching a choice or an end
// before it counts as a loop.
constexpr size_t kStepLimit = 200000;
// Story states the walk may meet before it gives up.
constexpr size_t kSegmentLimit = 50000;
// The grade the café gives after stage 14 before anyone knows it.
constexpr const char* kGradeToCome = "?";

// Where the interpreter goes on: the position, whether it got there by a
// jump, and every value of the story that can change where it goes later.
struct Resume {
  int32_t pos = 0;
  bool jumped = false;
  int16_t stageNo = 2;
  StoryCounters counters;
  bool nameEntered = false;
  std::string grade;
  // Who stands where, for the face changes to come. Left out of the key: the
  // story's way on does not depend on it, so a state reached with other
  // characters standing is not walked again (a face change that fails only
  // for those goes unseen).
  CharacterPlaces places{};

  // Equal for states that lead on the same way: the counters nothing reads
  // or changes from here on are left out.
  std::string Key(const CounterLiveness& liveness) const {
    std::string key = std::to_string(pos) + (jumped ? "j" : "a") + std::to_string(stageNo) +
                      (nameEntered ? "n" : "-") + grade + "|";
    const uint32_t live = liveness.At(pos);
    StoryCounters copy = counters;
    const auto fields = CounterFields(copy);
    for (size_t k = 0; k < fields.size(); ++k)
      key += (live & (1u << k)) ? std::to_string(*fields[k]) + "," : "-,";
    return key;
  }
};

// A stretch of story from a resume point to the next choice, grade test or
// end, and the ways on from there.
struct Segment {
  enum class Stop { Choice, GradeTest, End };
  Stop stop = Stop::End;
  RouteEnd end = RouteEnd::ScriptEnd;
  int16_t label = 0;  // where it stopped
  // The story's state where it stopped at a choice or a grade test: two
  // stretches that stop with the same key lead on the same ways.
  std::string stopKey;
  // The choice, grade test or end it stops at, numbered by its stop key (an
  // end by its kind and label): the branches of the graph leave these.
  size_t node = 0;
  std::vector<int16_t> labels;
  std::optional<int16_t> arrived;  // the last record's label, at the script's end
  std::vector<int16_t> saves;
  // The ways on: for a choice the option number of each (the lowest of the
  // options that lead on the same way), for a grade test High then Low.
  std::vector<int> options;
  std::vector<size_t> next;  // segment of each way on
};

// Thrown out of the interpreter where the story waits for the player or the
// café, or ends without returning.
struct ChoiceReached {
  int count;
};
struct GradeTestReached {};
struct QuitReached {};
struct StepLimitReached {};
// The story waits for a click in a state it waited in before, with no choice
// or end between: it goes round for ever.
struct ClickLoopReached {};
// A face change for a character not on the stage: the game ends there.
struct FaceWithoutCharacter {};

// Runs the story with the game's interpreter and command rules, leaving out
// everything shown or heard.
class RouteWalker final : private StoryHandlers, private GameEvents {
 public:
  explicit RouteWalker(const ScriptTables& tables)
      : interpreter_(story_, host_, *this, *this), liveness_(tables) {
    story_.tables = tables;
    host_.onMessageBox = [this](const MessageBoxRequest& request) {
      problems_.push_back({story_.CurLabel, request.text});
      return std::optional<MessageBoxAnswer>(MessageBoxAnswer::Ok);
    };
  }

  // The state the title gives a new story, or the extra story (nothing when
  // the script has no extra story).
  Resume NewStory() {
    NewGame(story_);
    return Capture(false);
  }
  std::optional<Resume> ExtraStory() {
    NewGame(story_);
    const ScriptTables& tables = story_.tables;
    const bool hasExtra =
        std::any_of(tables.Labels.begin(), tables.Labels.begin() + tables.LabelCount,
                    [](const LabelEntry& entry) { return entry.Label == kExtraStoryLabel; });
    if (!hasExtra) return std::nullopt;
    EnterExtraStory(story_, interpreter_);
    return Capture(false);
  }

  // Runs from `from` to the next stop. `ways` receives the resume points on.
  Segment Walk(const Resume& from, std::vector<Resume>& ways) {
    Restore(from);
    segment_ = Segment{};
    steps_ = 0;
    clickWaits_.clear();
    try {
      interpreter_.RunScript();
      segment_.stop = Segment::Stop::End;
      if (!ended_) {
        segment_.end = RouteEnd::ScriptEnd;
        // The story stops on arriving at the last record, which it does not
        // run: its label counts as reached.
        segment_.arrived = story_.tables.Script[story_.tables.LastRecord].Label;
      }
    } catch (const ChoiceReached& choice) {
      segment_.stop = Segment::Stop::Choice;
      segment_.stopKey = Capture(true).Key(liveness_);
      ChoiceWays(choice.count, ways);
    } catch (const GradeTestReached&) {
      segment_.stop = Segment::Stop::GradeTest;
      segment_.stopKey = Capture(true).Key(liveness_);
      // The test runs again with the grade known.
      for (const char* grade : {"A", "E"}) {
        Resume way = Capture(true);
        way.grade = grade;
        ways.push_back(way);
        segment_.options.push_back(grade[0] == 'A' ? 1 : 2);
      }
    } catch (const QuitReached&) {
      segment_.stop = Segment::Stop::End;
      segment_.end = RouteEnd::Quit;
    } catch (const StepLimitReached&) {
      segment_.stop = Segment::Stop::End;
      segment_.end = RouteEnd::Stall;
      problems_.push_back({story_.CurLabel, "the story runs " + std::to_string(kStepLimit) +
                                                " records without a choice or an end"});
    } catch (const FaceWithoutCharacter&) {
      segment_.stop = Segment::Stop::End;
      segment_.end = RouteEnd::Stall;
      problems_.push_back({story_.CurLabel,
                           "a face change for character " + std::to_string(story_.CharNo) +
                               " in pose " + std::to_string(story_.CharPose) +
                               ", who is not on the stage here: the game shows \"ﾃﾞｰﾀｴﾗｰ? "
                               "人がいないので表情の変化ができません\" and ends",
                           story_.ScriptPos});
    } catch (const ClickLoopReached&) {
      segment_.stop = Segment::Stop::End;
      segment_.end = RouteEnd::Stall;
      problems_.push_back({story_.CurLabel,
                           "the story waits for the player here again, in the state it had "
                           "before, without a choice or an end between (a loop)",
                           story_.ScriptPos});
    }
    segment_.label = story_.CurLabel;
    ended_ = false;
    return std::move(segment_);
  }

  std::vector<RouteProblem>& Problems() { return problems_; }
  const CounterLiveness& Liveness() const { return liveness_; }

 private:
  void Restore(const Resume& from) {
    story_.ScriptPos = from.pos;
    story_.StepResult = from.jumped ? kJumped : kShowText;
    story_.StageNo = from.stageNo;
    story_.counters = from.counters;
    story_.NameEntered = from.nameEntered;
    story_.Ranking[0].Grade = from.grade;
    places_ = from.places;
  }

  Resume Capture(bool jumped) const {
    return {story_.ScriptPos,        jumped, story_.StageNo, story_.counters, story_.NameEntered,
            story_.Ranking[0].Grade, places_};
  }

  void ChoiceWays(int count, std::vector<Resume>& ways) {
    std::set<std::string> seen;
    for (int k = 0; k < count; ++k) {
      story_.ScriptPos = story_.tables.ChoiceTable[story_.ChoiceBase + k].Target;
      Resume way = Capture(true);
      if (!seen.insert(way.Key(liveness_)).second) continue;
      ways.push_back(way);
      segment_.options.push_back(k + 1);
    }
  }

  // The story's seams: what decides the way on is the game's own rule.
  // A new background clears the stage.
  int32_t ShowBackground() override {
    places_ = CharacterPlaces{};
    return kAfterBackground;
  }
  int32_t PlaceCharacter() override {
    ApplyCharacterRecord(places_, story_.CharNo, story_.CharPose, story_.CurText);
    return kAfterCharacter;
  }
  int32_t ChangeFace() override {
    if (!FaceChangeFindsCharacter(places_, story_.CharNo, story_.CharPose))
      throw FaceWithoutCharacter{};
    return kAfterFace;
  }
  // Every page waits for the player's click.
  void ShowMessage() override {
    if (!clickWaits_.insert(Capture(false).Key(liveness_)).second) throw ClickLoopReached{};
  }
  void MesClear() override {}
  int32_t CmdTextMode() override { return kShowText; }
  void Keys() override {}
  int32_t ShowChoices() override {
    const auto offered = OfferedChoices(story_, interpreter_);
    if (offered.ok()) throw ChoiceReached{*offered};
    if (!offered.error().message.empty()) {
      problems_.push_back({story_.CurLabel, offered.error().message});
    }
    return kAdvance;
  }
  int32_t CmdCount() override { return dovetail::CmdCount(story_, host_); }
  int32_t CmdIf() override {
    if (story_.CurCommand.ends_with('0') && story_.Ranking[0].Grade == kGradeToCome) {
      throw GradeTestReached{};
    }
    return dovetail::CmdIf(story_, interpreter_, host_);
  }
  int32_t CmdCompare() override { return dovetail::CmdCompare(story_, interpreter_, host_); }
  int32_t CmdReserved() override { return dovetail::CmdReserved(story_, host_); }
  void PlayEnding() override {
    ended_ = true;
    segment_.end = PlaysStaffRoll(story_.counters) ? RouteEnd::StaffRoll : RouteEnd::Ending;
  }
  void SaveGame() override {}
  void PlayCafeStage() override {
    if (const Status stage = cafe::CheckStageNo(story_.StageNo); !stage.ok()) {
      interpreter_.ContentError(stage.error().message);
      return;
    }
    // Each stage starts the current player's result afresh; after stage 14
    // the grade is whatever the café gave.
    story_.Ranking[0].Grade = cafe::IsFinalStage(story_.StageNo) ? kGradeToCome : "";
  }
  void OpenNameEntry() override {}
  void CmdAudio() override {}
  void Quit() override { throw QuitReached{}; }

  void Report(const GameEvent& event) override {
    const auto* step = std::get_if<StepEvent>(&event);
    if (step == nullptr) return;
    if (++steps_ > kStepLimit) throw StepLimitReached{};
    if (segment_.labels.empty() || segment_.labels.back() != step->label) {
      segment_.labels.push_back(step->label);
    }
    if (step->command == "g2") segment_.saves.push_back(step->label);
  }

  HeadlessHost host_;
  StoryState story_;
  Interpreter interpreter_;
  CounterLiveness liveness_;
  std::vector<RouteProblem> problems_;
  Segment segment_;
  size_t steps_ = 0;
  CharacterPlaces places_{};
  // The states the current stretch waited for a click in.
  std::set<std::string> clickWaits_;
  bool ended_ = false;
};

// The walked graph: every segment once, by its resume point.
class RouteGraph {
 public:
  explicit RouteGraph(const ScriptTables& tables) : walker_(tables) {}

  std::optional<size_t> Start(std::optional<Resume> from) {
    if (!from) return std::nullopt;
    return Add(*from);
  }
  // Walks every segment reachable from those added.
  void Explore() {
    while (!pending_.empty()) {
      auto [id, from] = std::move(pending_.front());
      pending_.pop_front();
      std::vector<Resume> ways;
      Segment segment = walker_.Walk(from, ways);
      for (const Resume& way : ways) {
        if (segments_.size() >= kSegmentLimit) {
          walker_.Problems().push_back(
              {segment.label, "the story has more than " + std::to_string(kSegmentLimit) +
                                  " states at its choices; the walk stopped"});
          pending_.clear();
          break;
        }
        segment.next.push_back(Add(way));
      }
      segment.options.resize(segment.next.size());
      const std::string nodeKey = segment.stop == Segment::Stop::End
                                      ? std::string("end|") + RouteEndName(segment.end) + "|" +
                                            std::to_string(segment.label)
                                      : segment.stopKey;
      segment.node = nodes_.try_emplace(nodeKey, nodes_.size()).first->second;
      segments_[id] = std::move(segment);
    }
  }

  const std::vector<Segment>& Segments() const { return segments_; }
  std::vector<RouteProblem>& Problems() { return walker_.Problems(); }

 private:
  size_t Add(const Resume& from) {
    auto [it, added] = ids_.try_emplace(from.Key(walker_.Liveness()), segments_.size());
    if (added) {
      segments_.emplace_back();
      pending_.emplace_back(it->second, from);
    }
    return it->second;
  }

  RouteWalker walker_;
  std::map<std::string, size_t> ids_;
  std::map<std::string, size_t> nodes_;
  std::vector<Segment> segments_;
  std::deque<std::pair<size_t, Resume>> pending_;
};

// Branch k of a choice or grade test; an end is its node's branch 0.
uint64_t BranchId(size_t node, size_t k) {
  return (uint64_t{node} << 8) | k;
}

// A route passes a segment: its labels and save points.
void Pass(MappedRoute& route, const Segment& segment) {
  route.labels.insert(route.labels.end(), segment.labels.begin(), segment.labels.end());
  for (int16_t label : segment.saves)
    route.saves.push_back({label, route.story.list.size()});
}

// A route takes branch k of the choice or grade test its segment stops at.
void Take(MappedRoute& route, const Segment& segment, size_t k) {
  route.branches.push_back(BranchId(segment.node, k));
  if (segment.stop == Segment::Stop::Choice) {
    route.story.list.push_back(segment.options[k]);
  } else {
    route.grade = k == 0 ? GradeNeed::High : GradeNeed::Low;
  }
}

// A route reaches the end its last segment stops at.
MappedRoute Finished(MappedRoute route, const Segment& end) {
  std::sort(route.labels.begin(), route.labels.end());
  route.labels.erase(std::unique(route.labels.begin(), route.labels.end()), route.labels.end());
  route.end = end.end;
  route.endLabel = end.label;
  route.branches.push_back(BranchId(end.node, 0));
  return route;
}

// Lists the routes through the walked graph, depth first.
class RouteLister {
 public:
  RouteLister(const std::vector<Segment>& segments, RouteMap& map, size_t limit)
      : segments_(segments), map_(map), limit_(limit) {}

  void List(size_t start, StoryRoute::Start how) {
    route_ = MappedRoute{};
    route_.story.start = how;
    Visit(start);
  }

 private:
  void Visit(size_t id) {
    if (!map_.complete) return;
    const Segment& segment = segments_[id];
    const MappedRoute before = route_;
    Pass(route_, segment);
    if (segment.stop == Segment::Stop::End) {
      Emit(segment);
    } else if (!stopsOnPath_.insert(segment.stopKey).second) {
      if (loopsReported_.insert(segment.stopKey).second) {
        map_.problems.push_back({segment.label,
                                 "the story comes back to this choice with the same story "
                                 "state it had before (a loop)"});
      }
    } else {
      const MappedRoute atStop = route_;
      for (size_t k = 0; k < segment.next.size(); ++k) {
        Take(route_, segment, k);
        Visit(segment.next[k]);
        route_ = atStop;
      }
      stopsOnPath_.erase(segment.stopKey);
    }
    route_ = before;
  }

  void Emit(const Segment& segment) {
    if (map_.routes.size() >= limit_) {
      map_.complete = false;
      return;
    }
    map_.routes.push_back(Finished(route_, segment));
  }

  const std::vector<Segment>& segments_;
  RouteMap& map_;
  size_t limit_;
  std::set<std::string> stopsOnPath_;
  std::set<std::string> loopsReported_;
  MappedRoute route_;
};

// Routes through the walked graph that together take every branch and reach
// every end: each route from a start, at each choice the first branch not
// taken yet, else one from which a branch not taken yet can be reached, until
// no start leads to one.
class RouteCoverer {
 public:
  explicit RouteCoverer(const std::vector<Segment>& segments) : segments_(segments) {}

  std::vector<MappedRoute> Cover(const std::vector<std::pair<size_t, StoryRoute::Start>>& starts) {
    std::vector<MappedRoute> routes;
    for (bool progressed = true; progressed;) {
      progressed = false;
      MarkReach();
      for (const auto& [start, how] : starts) {
        if (!reach_[start]) continue;
        std::optional<MappedRoute> route = Walk(start, how);
        if (!route) continue;
        size_t added = 0;
        for (uint64_t branch : route->branches)
          added += taken_.insert(branch).second ? 1 : 0;
        if (added == 0) continue;
        routes.push_back(std::move(*route));
        progressed = true;
        MarkReach();
      }
    }
    return routes;
  }

 private:
  bool Untaken(const Segment& segment, size_t k) const {
    return !taken_.contains(BranchId(segment.node, k));
  }

  // reach_[id]: a branch not taken yet lies on some way on from segment id.
  void MarkReach() {
    reach_.assign(segments_.size(), false);
    for (bool changed = true; changed;) {
      changed = false;
      for (size_t id = 0; id < segments_.size(); ++id) {
        if (reach_[id]) continue;
        const Segment& segment = segments_[id];
        bool reach = segment.stop == Segment::Stop::End && Untaken(segment, 0);
        for (size_t k = 0; k < segment.next.size() && !reach; ++k)
          reach = Untaken(segment, k) || reach_[segment.next[k]];
        if (reach) {
          reach_[id] = true;
          changed = true;
        }
      }
    }
  }

  std::optional<MappedRoute> Walk(size_t id, StoryRoute::Start how) {
    MappedRoute route;
    route.story.start = how;
    std::set<std::string> stopsOnPath;
    while (true) {
      const Segment& segment = segments_[id];
      Pass(route, segment);
      if (segment.stop == Segment::Stop::End) return Finished(std::move(route), segment);
      stopsOnPath.insert(segment.stopKey);
      std::optional<size_t> pick;
      int best = -1;
      for (size_t k = 0; k < segment.next.size(); ++k) {
        const Segment& next = segments_[segment.next[k]];
        if (next.stop != Segment::Stop::End && stopsOnPath.contains(next.stopKey)) continue;
        const int score = Untaken(segment, k) ? 2 : reach_[segment.next[k]] ? 1 : 0;
        if (score > best) {
          best = score;
          pick = k;
        }
      }
      if (!pick) return std::nullopt;  // every way on loops back
      Take(route, segment, *pick);
      id = segment.next[*pick];
    }
  }

  const std::vector<Segment>& segments_;
  std::set<uint64_t> taken_;
  std::vector<bool> reach_;
};

}  // namespace

const char* RouteEndName(RouteEnd end) {
  switch (end) {
    case RouteEnd::Ending:
      return "ending";
    case RouteEnd::StaffRoll:
      return "staff roll";
    case RouteEnd::ScriptEnd:
      return "script end";
    case RouteEnd::Quit:
      return "quit";
    case RouteEnd::Stall:
      return "stall";
  }
  return "";
}

RouteMap MapRoutes(const ScriptTables& tables, size_t limit) {
  RouteGraph graph(tables);
  RouteWalker title(tables);
  const std::optional<size_t> newStory = graph.Start(title.NewStory());
  const std::optional<size_t> extraStory = graph.Start(title.ExtraStory());
  graph.Explore();

  RouteMap map;
  map.problems = std::move(graph.Problems());
  RouteLister lister(graph.Segments(), map, limit);
  std::vector<std::pair<size_t, StoryRoute::Start>> starts;
  if (newStory) starts.emplace_back(*newStory, StoryRoute::Start::New);
  if (extraStory) starts.emplace_back(*extraStory, StoryRoute::Start::Extra);
  for (const auto& [start, how] : starts)
    lister.List(start, how);
  map.covering = RouteCoverer(graph.Segments()).Cover(starts);

  std::set<int16_t> reached;
  for (const Segment& segment : graph.Segments()) {
    reached.insert(segment.labels.begin(), segment.labels.end());
    if (segment.arrived) reached.insert(*segment.arrived);
  }
  for (int32_t i = 0; i < tables.LabelCount; ++i) {
    const LabelEntry& entry = tables.Labels[i];
    // A label of the closing record alone, which the story never runs.
    if (entry.Index == tables.LastRecord) continue;
    if (!reached.contains(entry.Label)) map.unreached.push_back(entry.Label);
  }
  std::sort(map.unreached.begin(), map.unreached.end());
  return map;
}

}  // namespace dovetail
