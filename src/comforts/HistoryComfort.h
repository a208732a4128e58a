#pragma once

#include <cstdint>
#include <functional>

#include "comforts/ComfortEvents.h"
#include "comforts/HistoryView.h"
#include "comforts/MessageHistory.h"
#include "comforts/StoryCourse.h"
#include "scene/Choices.h"
#include "screen/MainForm.h"

namespace dovetail {

// The message history: the pages of the story being played, over the
// darkened story (wheel up, Page Up, menu 履歴); the wheel and the arrows
// scroll, wheel down past the newest page, a right click, Escape or Enter
// close it. Offered at a click-wait or a choice while the message window
// shows, never in a café stage or at the ending. The story waits beneath it:
// the skip switch of the menu is held off while it is open, so that nothing
// runs the story on behind it.
class HistoryComfort {
 public:
  // `stageRunning` tells whether a café stage runs.
  HistoryComfort(MainForm& form, TextRenderer& text, ComfortEvents& events,
                 const StoryCourse& course, const Choices& choices,
                 std::function<bool()> stageRunning);
  HistoryComfort(const HistoryComfort&) = delete;
  HistoryComfort& operator=(const HistoryComfort&) = delete;

  // The menu item and the view's right click.
  void Wire();

  void Add(const ShownPage& page) { history_.Add(page); }
  void Clear() { history_.Clear(); }

  bool IsOpen() const { return view_.IsOpen(); }
  void Open();
  void Close();
  // The keys while it is open: it has every key.
  void KeyDown(int16_t keyCode);
  // The wheel: up opens it; while it is open, scrolls it.
  void Wheel(int32_t steps);

  // Told when the view opens and when it closes (auto-advance waits
  // meanwhile).
  std::function<void()> onOpened;
  std::function<void()> onClosed;
  // A key the open history passes on (F12 takes a screenshot of it).
  std::function<void(int16_t keyCode)> onOtherKey;

 private:
  bool Offered() const;

  MainForm& form_;
  ComfortEvents& events_;
  const StoryCourse& course_;
  const Choices& choices_;
  const std::function<bool()> stageRunning_;
  MessageHistory history_;
  HistoryView view_;
  MenuItem& item_;
  bool skipWasEnabled_ = false;
};

}  // namespace dovetail
