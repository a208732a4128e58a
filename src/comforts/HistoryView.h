#pragma once

#include <cstddef>
#include <cstdint>

#include "comforts/MessageHistory.h"
#include "graphics/TextRenderer.h"
#include "screen/MainForm.h"

namespace dovetail {

// The message history over the story: the window as it was when the view
// opened, darkened, and on it the pages of the history in the message
// window's font and colours (each speaker's tag at the left, the text cut
// into the window's lines), the newest at the bottom. One box of the main
// window above every other, which takes the mouse and the keys while open,
// so nothing beneath it reacts; closing gives the keys back to the box that
// had them.
class HistoryView {
 public:
  HistoryView(MainForm& form, TextRenderer& text);
  HistoryView(const HistoryView&) = delete;
  HistoryView& operator=(const HistoryView&) = delete;

  bool IsOpen() const { return box_.Visible(); }
  // Opens with the newest page at the bottom. `history` must not be empty
  // and must not change while the view is open.
  void Open(const MessageHistory& history);
  void Close();
  // Scrolls `pages` pages back (positive) or forward (negative), stopping at
  // the oldest; false when asked forward past the newest (the view then
  // stays as it is, for the caller to close).
  bool Scroll(int32_t pages);
  // The page shown at the bottom (from 0, the oldest kept).
  size_t LastShown() const { return last_; }

  // The view's box: its handlers are the caller's to set.
  PictureBox& Box() { return box_; }

 private:
  void Draw();
  // The height of a page in the view: its lines and the gap below it.
  int32_t PageHeight(const ShownPage& page, int32_t lineHeight) const;

  MainForm& form_;
  TextRenderer& text_;
  PictureBox& box_;
  const MessageHistory* history_ = nullptr;
  size_t last_ = 0;
  Surface dimmed_;
  PictureBox* focusBefore_ = nullptr;
};

}  // namespace dovetail
