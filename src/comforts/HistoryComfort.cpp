#include "comforts/HistoryComfort.h"

#include <utility>

#include "comforts/ComfortMenu.h"
#include "host/Input.h"

namespace dovetail {

namespace {

// Pages the history moves at a press of Page Up or Page Down.
constexpr int32_t kPagesAPress = 3;

}  // namespace

HistoryComfort::HistoryComfort(MainForm& form, TextRenderer& text, ComfortEvents& events,
                               const StoryCourse& course, const Choices& choices,
                               std::function<bool()> stageRunning)
    : form_(form),
      events_(events),
      course_(course),
      choices_(choices),
      stageRunning_(std::move(stageRunning)),
      view_(form, text),
      item_(form.window.AddMenuItem("history", "履歴\tPage Up")) {
  item_.SetMenu(kComfortMenu);
}

void HistoryComfort::Wire() {
  item_.onClick = [this] { Open(); };
  view_.Box().onMouseDown = [this](const MouseEvent& event) {
    if (event.button == MouseButton::Right) Close();
  };
}

bool HistoryComfort::Offered() const {
  return course_.running && !course_.ending && !history_.Empty() &&
         (course_.inClickWait || choices_.Open()) && form_.MesBox[0]->Visible() &&
         !stageRunning_() && !view_.IsOpen();
}

void HistoryComfort::Open() {
  if (!Offered()) return;
  if (onOpened) onOpened();
  // The story waits beneath: the menu's skip may not run it on meanwhile.
  skipWasEnabled_ = form_.speedup.Enabled();
  form_.speedup.SetEnabled(false);
  view_.Open(history_);
  events_.Report(HistoryEvent{true, static_cast<int32_t>(history_.Size())});
}

void HistoryComfort::Close() {
  if (!view_.IsOpen()) return;
  view_.Close();
  form_.speedup.SetEnabled(skipWasEnabled_);
  events_.Report(HistoryEvent{false, static_cast<int32_t>(history_.Size())});
  if (onClosed) onClosed();
}

void HistoryComfort::KeyDown(int16_t keyCode) {
  switch (keyCode) {
    case kKeyUp:
      view_.Scroll(1);
      break;
    case kKeyDown:
      if (!view_.Scroll(-1)) Close();
      break;
    case kKeyPageUp:
      view_.Scroll(kPagesAPress);
      break;
    case kKeyPageDown:
      if (!view_.Scroll(-kPagesAPress)) Close();
      break;
    case kKeyEscape:
    case kKeyReturn:
      Close();
      break;
    default:
      if (onOtherKey) onOtherKey(keyCode);
      break;
  }
}

void HistoryComfort::Wheel(int32_t steps) {
  if (!view_.IsOpen()) {
    if (steps > 0) Open();
    return;
  }
  if (!view_.Scroll(steps)) Close();
}

}  // namespace dovetail
