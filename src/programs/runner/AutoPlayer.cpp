#include "programs/runner/AutoPlayer.h"

#include "routes/CounterLiveness.h"
#include "shell/Game.h"
#include "shell/TitleScreen.h"

namespace dovetail {

namespace {

// How long the story may stay busy, without waiting for the player or
// moving on, before the run counts as stalled.
constexpr uint32_t kStallMs = 10 * 60 * 1000;

// The message boxes a story shows in its normal course.
bool IsConfirmation(const std::string& text) {
  return text == "セーブしました." || text == "ロードしました." || text == "終了します.";
}

// The title entry that starts a story.
int TitleEntry(StoryRoute::Start start) {
  switch (start) {
    case StoryRoute::Start::New:
      return kNewStoryEntry;
    case StoryRoute::Start::Load:
      return kLoadEntry;
    case StoryRoute::Start::Extra:
      return kExtraStoryEntry;
  }
  return kNewStoryEntry;
}

}  // namespace

Result<std::string> NameDialogText(const std::string& familyComma) {
  const size_t comma = familyComma.find(',');
  if (comma == std::string::npos) {
    return Error{"the name \"" + familyComma + "\" needs the form FAMILY,GIVEN"};
  }
  return familyComma.substr(0, comma) + "\u3000" + familyComma.substr(comma + 1);
}

AutoPlayer::AutoPlayer(AutoOptions options, Game& game, HeadlessHost& host)
    : options_(std::move(options)), game_(game), host_(host), lastChange_(host.TickCount()) {}

std::optional<AutoStop> AutoPlayer::CheckClickLoop() {
  if (steps_ == stepsAtClickWait_) return std::nullopt;  // the same wait
  stepsAtClickWait_ = steps_;
  // What decides where the story goes on from here.
  StoryState& story = game_.story;
  std::string key = std::to_string(story.ScriptPos) + "/" + std::to_string(story.StageNo) + "/" +
                    (story.NameEntered ? "n" : "-") + story.Ranking[0].Grade + "|";
  for (const int16_t* counter : CounterFields(story.counters))
    key += std::to_string(*counter) + ",";
  if (clickWaits_.insert(key).second) return std::nullopt;
  return AutoStop{ExitCode::Stalled, "the story goes round " + Where() +
                                         ": it waits for a click here again in the same state, "
                                         "with no choice or end between (a loop)"};
}

std::string AutoPlayer::Where() const {
  return "at label " + std::to_string(game_.story.CurLabel) + " (record " +
         std::to_string(game_.story.ScriptPos) + ")";
}

void AutoPlayer::OnMessageBox(const MessageBoxRequest& request) {
  if (request.text == "セーブしました.") ++saves_;
  if (IsConfirmation(request.text) || failure_) return;
  failure_ = AutoStop{ExitCode::Stalled,
                      "the story showed the message \"" + request.text + "\" " + Where()};
}

std::optional<AutoStop> AutoPlayer::Act() {
  if (failure_) return failure_;
  const WaitState waiting = game_.Waiting();
  const uint32_t now = host_.TickCount();
  if (static_cast<int>(waiting) != lastWait_ || game_.story.ScriptPos != lastPos_) {
    lastWait_ = static_cast<int>(waiting);
    lastPos_ = game_.story.ScriptPos;
    lastChange_ = now;
  }
  if (options_.quitAfterSaves != 0 && saves_ >= options_.quitAfterSaves && !quitAsked_) {
    quitAsked_ = true;
    host_.PostMenuClick("ends");
    return std::nullopt;
  }
  switch (waiting) {
    case WaitState::Title:
      return StartStory();
    case WaitState::ClickWait:
      if (auto loop = CheckClickLoop()) return loop;
      ClickOn(*game_.form.MesBox[0]);
      return std::nullopt;
    case WaitState::Choice:
      return Choose();
    case WaitState::Dialog:
      ConfirmName();
      return std::nullopt;
    case WaitState::Ranking:
      ClickOn(game_.ranking.Ranking_exit);
      return std::nullopt;
    case WaitState::Customer:
      // The café policy serves, or nobody does.
      return std::nullopt;
    case WaitState::Busy:
      if (now - lastChange_ > kStallMs) {
        return AutoStop{ExitCode::Stalled, "the story stalls " + Where() + ": busy for " +
                                               std::to_string(kStallMs / 1000) +
                                               " s without waiting"};
      }
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<AutoStop> AutoPlayer::StartStory() {
  if (nextStory_ == options_.route.size()) return AutoStop{ExitCode::Done, "the route is done"};
  const StoryRoute& story = options_.route[nextStory_];
  const int entry = TitleEntry(story.start);
  const PictureBox& item = *game_.form.Tmenu[entry];
  if (!item.Visible()) {
    return AutoStop{ExitCode::Stalled,
                    "the title does not offer the extra story: it opens after a café stage "
                    "past the first (the clear marker in 20.dat); play the story first "
                    "(e.g. --auto first+extra:first)"};
  }
  ++nextStory_;
  picksUsed_ = 0;
  clickWaits_.clear();
  random_.seed(story.seed);
  const TitlePoint press = TitleEntryPoint(entry);
  host_.PostClick(press.x, press.y);
  return std::nullopt;
}

std::optional<AutoStop> AutoPlayer::Choose() {
  const StoryRoute& story = options_.route[nextStory_ - 1];
  int offered = 0;
  while (offered < static_cast<int>(game_.form.SelTxt.size()) &&
         game_.form.SelTxt[offered]->Visible()) {
    ++offered;
  }
  int pick = 1;
  switch (story.picks) {
    case StoryRoute::Picks::First:
      break;
    case StoryRoute::Picks::Last:
      pick = offered;
      break;
    case StoryRoute::Picks::Random:
      pick = std::uniform_int_distribution<int>(1, offered)(random_);
      break;
    case StoryRoute::Picks::List:
      if (picksUsed_ >= story.list.size()) {
        return AutoStop{ExitCode::Stalled, "the route \"" + StoryRouteText(story) +
                                               "\" has no pick left for the choice " + Where()};
      }
      pick = story.list[picksUsed_];
      if (pick > offered) {
        return AutoStop{ExitCode::Stalled, "the route picks option " + std::to_string(pick) +
                                               " but the choice " + Where() + " offers " +
                                               std::to_string(offered)};
      }
      break;
  }
  ++picksUsed_;
  clickWaits_.clear();
  ClickOn(*game_.form.SelTxt[pick - 1]);
  return std::nullopt;
}

void AutoPlayer::ConfirmName() {
  if (!game_.nameEntry.IsOpen()) {
    // Only the name dialog opens by itself during a story.
    host_.PostDialogInput(InputEvent::Kind::DialogClose);
    return;
  }
  if (!options_.heroName.empty()) {
    host_.PostDialogInput(InputEvent::Kind::Type, options_.heroName);
  }
  host_.PostDialogInput(InputEvent::Kind::Press, "Command1");
}

void AutoPlayer::ClickOn(const PictureBox& box) {
  host_.PostClick(box.Left() + box.Width() / 2, box.Top() + box.Height() / 2);
}

}  // namespace dovetail
