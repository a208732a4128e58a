#include "comforts/HistoryView.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <string>

#include "scene/MessageWindow.h"

namespace dovetail {

namespace {

constexpr int32_t kHeaderHeight = 26;
constexpr int32_t kPagesTop = 34;
constexpr int32_t kPagesBottom = 470;
constexpr int32_t kPageGap = 10;
constexpr int32_t kTagX = 20;
constexpr Pixel kHeaderColour = 0x101018;
constexpr Pixel kHintColour = 0xB0B0B0;
constexpr const char* kTitle = "履歴";
constexpr const char* kHint = "ホイール・↑↓・PageUp/Down：移動　右クリック・Esc・Enter：戻る";

// The story's picture at five sixteenths of its brightness.
Pixel Darkened(Pixel p) {
  return ((p >> 2) & 0x3F3F3F) + ((p >> 4) & 0x0F0F0F);
}

}  // namespace

HistoryView::HistoryView(MainForm& form, TextRenderer& text)
    : form_(form), text_(text), box_(form.window.AddPictureBox("History")) {}

int32_t HistoryView::PageHeight(const ShownPage& page, int32_t lineHeight) const {
  const auto lines = static_cast<int32_t>(MessageWindow::LinePieces(page.text).size());
  return std::max(lines, 1) * lineHeight + kPageGap;
}

void HistoryView::Open(const MessageHistory& history) {
  assert(!history.Empty());
  history_ = &history;
  last_ = history.Size() - 1;
  // The picture behind the pages is the story's without its message window,
  // whose text would show through beneath theirs.
  std::array<bool, 2> shown{};
  for (size_t i = 0; i < shown.size(); ++i) {
    shown[i] = form_.MesBox[i]->Visible();
    form_.MesBox[i]->SetVisible(false);
  }
  form_.window.Compose(dimmed_);
  for (size_t i = 0; i < shown.size(); ++i)
    form_.MesBox[i]->SetVisible(shown[i]);
  for (Pixel& p : dimmed_.Pixels())
    p = Darkened(p);
  box_.Move(0, 0, form_.window.ClientWidth(), form_.window.ClientHeight());
  box_.SetPicture(dimmed_);
  form_.window.BringToFront(box_);
  box_.SetVisible(true);
  box_.SetEnabled(true);
  focusBefore_ = form_.window.Focus();
  form_.window.SetFocus(&box_);
  Draw();
}

void HistoryView::Close() {
  box_.SetVisible(false);
  box_.ClearPicture();
  dimmed_ = Surface();
  history_ = nullptr;
  form_.window.SetFocus(focusBefore_);
  form_.window.Invalidate();
}

bool HistoryView::Scroll(int32_t pages) {
  assert(history_ != nullptr);
  const size_t newest = history_->Size() - 1;
  if (pages < 0) {
    if (last_ == newest) return false;
    last_ = std::min(newest, last_ + static_cast<size_t>(-pages));
  } else {
    last_ -= std::min(last_, static_cast<size_t>(pages));
  }
  Draw();
  return true;
}

void HistoryView::Draw() {
  box_.Cls();
  Surface& image = box_.Image();
  const FontSpec pageFont = form_.MesBox[0]->font;
  const int32_t lineHeight = static_cast<int32_t>(pageFont.size) * 17 / 10;

  // Pages from the one at the bottom upwards, while they fit.
  int32_t bottom = kPagesBottom;
  for (size_t i = last_ + 1; i-- > 0;) {
    const ShownPage& page = history_->Page(i);
    const int32_t height = PageHeight(page, lineHeight);
    if (bottom - height < kPagesTop && i != last_) break;
    bottom -= height;
    if (!page.tag.empty()) text_.DrawText(image, kTagX, bottom, page.tag, pageFont, page.colour);
    int32_t y = bottom;
    for (const std::string& line : MessageWindow::LinePieces(page.text)) {
      text_.DrawText(image, MessageWindow::kTextX, y, line, pageFont, page.colour);
      y += lineHeight;
    }
  }

  FontSpec small = pageFont;
  small.size = 10;
  small.bold = false;
  image.FillRect(0, 0, image.Width(), kHeaderHeight, kHeaderColour);
  const std::string title = std::string(kTitle) + "　" + std::to_string(last_ + 1) + " / " +
                            std::to_string(history_->Size());
  text_.DrawText(image, kTagX, 6, title, small, kWhite);
  text_.DrawText(image, image.Width() - 12 - text_.TextWidth(kHint, small), 6, kHint, small,
                 kHintColour);
  form_.window.Invalidate();
}

}  // namespace dovetail
