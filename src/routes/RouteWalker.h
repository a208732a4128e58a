#pragma once

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "minigame/StageCalendar.h"
#include "routes/CounterLiveness.h"
#include "routes/RouteMap.h"
#include "scene/CharacterPlaces.h"
#include "scene/Choices.h"
#include "scene/Ending.h"
#include "scene/StoryCounters.h"
#include "shell/TitleScreen.h"
#include "story/Interpreter.h"
#include "story/NewStory.h"

// The route walker: runs the story with the game's own interpreter and
// command rules from a resume point to the next choice, grade test or end,
// leaving out everything shown or heard. MapRoutes (RouteMap.cpp) builds the
// graph of the story's routes from its walks and lists and covers them.
namespace dovetail::walk {

// Records a stretch of story may run without reaching a choice or an end
// before it counts as a loop.
constexpr size_t kStepLimit = 200000;
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
class RouteWalker final : private StoryHandlers, private StepEvents {
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

  void Report(const StepEvent& step) override {
    if (++steps_ > kStepLimit) throw StepLimitReached{};
    if (segment_.labels.empty() || segment_.labels.back() != step.label) {
      segment_.labels.push_back(step.label);
    }
    if (step.command == "g2") segment_.saves.push_back(step.label);
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

}  // namespace dovetail::walk
