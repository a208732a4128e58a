#include "routes/RouteWalker.h"

#include <algorithm>
#include <utility>

#include "minigame/StageCalendar.h"
#include "scene/Choices.h"
#include "scene/Ending.h"
#include "shell/TitleScreen.h"
#include "story/NewStory.h"

namespace dovetail::walk {

std::string Resume::Key(const CounterLiveness& liveness) const {
  std::string key = std::to_string(pos) + (jumped ? "j" : "a") + std::to_string(stageNo) +
                    (nameEntered ? "n" : "-") + grade + "|";
  const uint32_t live = liveness.At(pos);
  StoryCounters copy = counters;
  const auto fields = CounterFields(copy);
  for (size_t k = 0; k < fields.size(); ++k)
    key += (live & (1u << k)) ? std::to_string(*fields[k]) + "," : "-,";
  return key;
}

RouteWalker::RouteWalker(const ScriptTables& tables)
    : interpreter_(story_, host_, *this, *this), liveness_(tables) {
  story_.tables = tables;
  host_.onMessageBox = [this](const MessageBoxRequest& request) {
    problems_.push_back({story_.CurLabel, request.text});
    return std::optional<MessageBoxAnswer>(MessageBoxAnswer::Ok);
  };
}

Resume RouteWalker::NewStory() {
  NewGame(story_);
  return Capture(false);
}

std::optional<Resume> RouteWalker::ExtraStory() {
  NewGame(story_);
  const ScriptTables& tables = story_.tables;
  const bool hasExtra =
      std::any_of(tables.Labels.begin(), tables.Labels.begin() + tables.LabelCount,
                  [](const LabelEntry& entry) { return entry.Label == kExtraStoryLabel; });
  if (!hasExtra) return std::nullopt;
  EnterExtraStory(story_, interpreter_);
  return Capture(false);
}

Segment RouteWalker::Walk(const Resume& from, std::vector<Resume>& ways) {
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

void RouteWalker::Restore(const Resume& from) {
  story_.ScriptPos = from.pos;
  story_.StepResult = from.jumped ? kJumped : kShowText;
  story_.StageNo = from.stageNo;
  story_.counters = from.counters;
  story_.NameEntered = from.nameEntered;
  story_.Ranking[0].Grade = from.grade;
  places_ = from.places;
}

Resume RouteWalker::Capture(bool jumped) const {
  return {story_.ScriptPos,        jumped, story_.StageNo, story_.counters, story_.NameEntered,
          story_.Ranking[0].Grade, places_};
}

void RouteWalker::ChoiceWays(int count, std::vector<Resume>& ways) {
  std::set<std::string> seen;
  for (int k = 0; k < count; ++k) {
    story_.ScriptPos = story_.tables.ChoiceTable[story_.ChoiceBase + k].Target;
    Resume way = Capture(true);
    if (!seen.insert(way.Key(liveness_)).second) continue;
    ways.push_back(way);
    segment_.options.push_back(k + 1);
  }
}

// A new background clears the stage.
int32_t RouteWalker::ShowBackground() {
  places_ = CharacterPlaces{};
  return kAfterBackground;
}

int32_t RouteWalker::PlaceCharacter() {
  ApplyCharacterRecord(places_, story_.CharNo, story_.CharPose, story_.CurText);
  return kAfterCharacter;
}

int32_t RouteWalker::ChangeFace() {
  if (!FaceChangeFindsCharacter(places_, story_.CharNo, story_.CharPose))
    throw FaceWithoutCharacter{};
  return kAfterFace;
}

// Every page waits for the player's click.
void RouteWalker::ShowMessage() {
  if (!clickWaits_.insert(Capture(false).Key(liveness_)).second) throw ClickLoopReached{};
}

int32_t RouteWalker::ShowChoices() {
  const auto offered = OfferedChoices(story_, interpreter_);
  if (offered.ok()) throw ChoiceReached{*offered};
  if (!offered.error().message.empty()) {
    problems_.push_back({story_.CurLabel, offered.error().message});
  }
  return kAdvance;
}

int32_t RouteWalker::CmdCount() {
  return dovetail::CmdCount(story_, host_);
}

int32_t RouteWalker::CmdIf() {
  if (story_.CurCommand.ends_with('0') && story_.Ranking[0].Grade == kGradeToCome) {
    throw GradeTestReached{};
  }
  return dovetail::CmdIf(story_, interpreter_, host_);
}

int32_t RouteWalker::CmdCompare() {
  return dovetail::CmdCompare(story_, interpreter_, host_);
}

int32_t RouteWalker::CmdReserved() {
  return dovetail::CmdReserved(story_, host_);
}

void RouteWalker::PlayEnding() {
  ended_ = true;
  segment_.end = PlaysStaffRoll(story_.counters) ? RouteEnd::StaffRoll : RouteEnd::Ending;
}

void RouteWalker::PlayCafeStage() {
  if (const Status stage = cafe::CheckStageNo(story_.StageNo); !stage.ok()) {
    interpreter_.ContentError(stage.error().message);
    return;
  }
  // Each stage starts the current player's result afresh; after stage 14
  // the grade is whatever the café gave.
  story_.Ranking[0].Grade = cafe::IsFinalStage(story_.StageNo) ? kGradeToCome : "";
}

void RouteWalker::Quit() {
  throw QuitReached{};
}

void RouteWalker::Report(const StepEvent& step) {
  if (++steps_ > kStepLimit) throw StepLimitReached{};
  if (segment_.labels.empty() || segment_.labels.back() != step.label) {
    segment_.labels.push_back(step.label);
  }
  if (step.command == "g2") segment_.saves.push_back(step.label);
}

}  // namespace dovetail::walk
