#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "backends/hosts/headless/HeadlessHost.h"
#include "routes/CounterLiveness.h"
#include "routes/RouteMap.h"
#include "scene/CharacterPlaces.h"
#include "scene/StoryCounters.h"
#include "story/Interpreter.h"
#include "story/StepEvents.h"
#include "story/StoryState.h"

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
  std::string Key(const CounterLiveness& liveness) const;
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
  explicit RouteWalker(const ScriptTables& tables);

  // The state the title gives a new story, or the extra story (nothing when
  // the script has no extra story).
  Resume NewStory();
  std::optional<Resume> ExtraStory();

  // Runs from `from` to the next stop. `ways` receives the resume points on.
  Segment Walk(const Resume& from, std::vector<Resume>& ways);

  std::vector<RouteProblem>& Problems() { return problems_; }
  const CounterLiveness& Liveness() const { return liveness_; }

 private:
  // Puts the story in the state `from` holds.
  void Restore(const Resume& from);
  // The story's state now, reached by a jump or not.
  Resume Capture(bool jumped) const;
  // The ways on from a choice of `count` options: one for each option that
  // leads on differently from those before it.
  void ChoiceWays(int count, std::vector<Resume>& ways);

  // The story's seams: what decides the way on is the game's own rule.
  int32_t ShowBackground() override;
  int32_t PlaceCharacter() override;
  int32_t ChangeFace() override;
  void ShowMessage() override;
  void MesClear() override {}
  int32_t CmdTextMode() override { return kShowText; }
  void Keys() override {}
  int32_t ShowChoices() override;
  int32_t CmdCount() override;
  int32_t CmdIf() override;
  int32_t CmdCompare() override;
  int32_t CmdReserved() override;
  void PlayEnding() override;
  void SaveGame() override {}
  void PlayCafeStage() override;
  void OpenNameEntry() override {}
  void CmdAudio() override {}
  void Quit() override;

  // Counts the steps and notes the labels and save points the stretch passes.
  void Report(const StepEvent& step) override;

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
