#include "comforts/AutoAdvance.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "comforts/ComfortMenu.h"
#include "host/ScreenSize.h"

namespace dovetail {

namespace {

// The pause of auto-advance: a base and a time per character, by speed.
struct AutoPace {
  uint32_t baseMs;
  uint32_t perCharacterMs;
  const char* caption;
};
constexpr AutoPace kAutoPaces[] = {
    {2500, 90, "オート速度：遅い"},
    {1500, 60, "オート速度：普通"},
    {800, 30, "オート速度：速い"},
};
// Longer messages wait no longer than one of this many characters.
constexpr int32_t kLongestPaced = 200;

constexpr const char* kMarkFont = "ＭＳ Ｐゴシック";
constexpr Pixel kMarkColour = 0xFFD27A;

// "AUTO" in small letters, drawn once for the mark in the message window.
std::shared_ptr<const Surface> MarkPicture(TextRenderer& text) {
  const FontSpec font{kMarkFont, 9, true, false};
  const std::string word = "AUTO";
  auto picture =
      std::make_shared<Surface>(text.TextWidth(word, font) + 2, text.LineHeight(font), kBlack);
  text.DrawText(*picture, 1, 0, word, font, kMarkColour);
  return picture;
}

// The three speeds, in the menu below the switch.
std::array<MenuItem*, 3> AddSpeedItems(Window& window) {
  constexpr const char* kNames[] = {"auto-slow", "auto-normal", "auto-fast"};
  std::array<MenuItem*, 3> items{};
  for (size_t i = 0; i < items.size(); ++i)
    items[i] = &window.AddMenuItem(kNames[i], kAutoPaces[i].caption);
  return items;
}

}  // namespace

AutoAdvance::AutoAdvance(MainForm& form, TextRenderer& text, ComfortEvents& events,
                         ClickWait& clickWait, const StoryCourse& course, ComfortSettings& settings,
                         std::function<bool()> historyOpen, std::function<void()> settingsChanged)
    : form_(form),
      events_(events),
      clickWait_(clickWait),
      course_(course),
      settings_(settings),
      historyOpen_(std::move(historyOpen)),
      settingsChanged_(std::move(settingsChanged)),
      item_(form.window.AddMenuItem("auto", "オート\tA")),
      speedItems_(AddSpeedItems(form.window)),
      timer_(form.window.AddTimer("AutoAdvance", kAutoPaces[1].baseMs)),
      mark_(form.MesBox[0]->AddShape()),
      on_(settings.autoAdvance) {
  mark_.picture = MarkPicture(text);
  mark_.width = mark_.picture->Width();
  mark_.height = mark_.picture->Height();
  mark_.left = kScreenWidth - 12 - mark_.width;
  mark_.top = 4;
  mark_.borderWidth = 0;
  item_.SetMenu(kComfortMenu);
  for (MenuItem* speed : speedItems_)
    speed->SetMenu(kComfortMenu);
  ShowMark();
  UpdateMenu();
}

void AutoAdvance::Wire() {
  item_.onClick = [this] { Toggle(); };
  for (size_t i = 0; i < speedItems_.size(); ++i)
    speedItems_[i]->onClick = [this, i] { SetSpeed(static_cast<AutoSpeed>(i)); };
  timer_.onTimer = [this] { TurnPage(); };
}

uint32_t AutoAdvance::Pause(AutoSpeed speed, int32_t characters) {
  const AutoPace& pace = kAutoPaces[static_cast<size_t>(speed)];
  const auto paced = static_cast<uint32_t>(std::clamp(characters, 0, kLongestPaced));
  return pace.baseMs + pace.perCharacterMs * paced;
}

void AutoAdvance::ClickWaitBegins() {
  if (!on_ || course_.ending) return;
  timer_.SetInterval(Pause(settings_.autoSpeed, pageCharacters_));
  timer_.SetEnabled(true);
}

void AutoAdvance::ClickWaitEnds(bool byPlayer) {
  timer_.SetEnabled(false);
  if (on_ && byPlayer) Set(false);
}

void AutoAdvance::Pause() {
  timer_.SetEnabled(false);
}

void AutoAdvance::Resume() {
  if (course_.inClickWait && on_) timer_.SetEnabled(true);
}

bool AutoAdvance::EndsClickWait() const {
  return course_.inClickWait && on_ && !course_.ending && PageWatched();
}

bool AutoAdvance::PageWatched() const {
  return !historyOpen_() && form_.MesBox[0]->Visible() && form_.window.Enabled();
}

void AutoAdvance::TurnPage() {
  if (!course_.inClickWait) {
    timer_.SetEnabled(false);
    return;
  }
  // The player looks back, at the picture or at a dialog: the page waits
  // for them.
  if (!PageWatched()) return;
  clickWait_.End();
}

void AutoAdvance::Set(bool on) {
  if (on_ == on) return;
  on_ = on;
  settings_.autoAdvance = on;
  settingsChanged_();
  events_.Report(AutoEvent{on});
  ShowMark();
  UpdateMenu();
  if (on && course_.inClickWait && !historyOpen_()) {
    ClickWaitBegins();
  } else if (!on) {
    timer_.SetEnabled(false);
  }
}

void AutoAdvance::SetSpeed(AutoSpeed speed) {
  settings_.autoSpeed = speed;
  settingsChanged_();
  UpdateMenu();
  if (timer_.Enabled()) {
    timer_.SetInterval(Pause(speed, pageCharacters_));
    timer_.SetEnabled(true);
  }
}

void AutoAdvance::ShowMark() {
  mark_.visible = on_;
  form_.MesBox[0]->InvalidateShape(mark_);
}

void AutoAdvance::UpdateMenu() {
  item_.SetChecked(on_);
  for (size_t i = 0; i < speedItems_.size(); ++i)
    speedItems_[i]->SetChecked(static_cast<size_t>(settings_.autoSpeed) == i);
}

}  // namespace dovetail
