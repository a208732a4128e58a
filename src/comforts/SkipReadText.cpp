#include "comforts/SkipReadText.h"

#include <utility>

#include "comforts/ComfortMenu.h"

namespace dovetail {

namespace {

constexpr uint64_t kMaxReadPagesBytes = 16 * 1024 * 1024;

}  // namespace

SkipReadText::SkipReadText(MainForm& form, Host& host, ComfortEvents& events, PlayerFiles& ownFiles,
                           ClickWait& clickWait, const StoryCourse& course,
                           ComfortSettings& settings, std::function<void()> settingsChanged)
    : form_(form),
      host_(host),
      events_(events),
      ownFiles_(ownFiles),
      clickWait_(clickWait),
      course_(course),
      settings_(settings),
      settingsChanged_(std::move(settingsChanged)),
      read_(ReadPages::Parse(ownFiles.ReadOrNothing(kReadPagesFile, kMaxReadPagesBytes))),
      item_(form.window.AddMenuItem("skipread", "既読スキップ\tCtrl")),
      skipping_(settings.skipRead) {
  item_.SetMenu(kComfortMenu);
  item_.SetChecked(skipping_);
}

void SkipReadText::Wire() {
  item_.onClick = [this] {
    if (skipping_) {
      Stop(SkipStop::Player);
    } else {
      Start(false);
    }
  };
  form_.window.onKeyUp = [this](const KeyEvent& event) {
    if (event.keyCode == kKeyControl && skipping_ && held_) Stop(SkipStop::Player);
  };
}

void SkipReadText::Start(bool held) {
  if (skipping_) return;
  if (onStarting) onStarting();
  skipping_ = true;
  held_ = held;
  if (!held) settings_.skipRead = true;
  settingsChanged_();
  events_.Report(SkipEvent{true});
  item_.SetChecked(true);
  if (!course_.inClickWait) return;
  if (pageReadBefore_) {
    clickWait_.End();
  } else {
    Stop(SkipStop::Unread, pagePosition_);
  }
}

void SkipReadText::Stop(SkipStop why, int32_t at) {
  if (!skipping_) return;
  skipping_ = false;
  held_ = false;
  settings_.skipRead = false;
  settingsChanged_();
  events_.Report(SkipEvent{false, why, at});
  item_.SetChecked(false);
}

void SkipReadText::PageShown(int32_t position) {
  pagePosition_ = position;
  pageReadBefore_ = read_.WasRead(position);
  read_.Mark(position);
}

bool SkipReadText::PassesPage() {
  if (!skipping_) return false;
  if (pageReadBefore_) return true;
  Stop(SkipStop::Unread, pagePosition_);
  return false;
}

void SkipReadText::Save() {
  if (!read_.Unsaved() || !kept_ || !ownFiles_.Keeps()) return;
  const Status saved = ownFiles_.Replace(kReadPagesFile, read_.Format());
  read_.Saved();
  if (saved) return;
  // The pages stay marked for this run; a folder that cannot be written is
  // not tried again at every page.
  host_.Diagnostic("the pages read are not kept: " + saved.error().message);
  kept_ = false;
}

}  // namespace dovetail
