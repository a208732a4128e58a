#include "scene/MessageWindow.h"

#include <cassert>

#include "base/Cp932.h"
#include "base/Numbers.h"
#include "base/Utf8.h"
#include "host/Waits.h"
#include "scene/SceneEvents.h"

namespace dovetail {

namespace {

constexpr int32_t kLineBytes = 64;     // CP932 bytes of one line of the page
constexpr int32_t kTagX = 20;          // the speaker's tag
constexpr int32_t kFirstLineY = 20;    // top of the text of line slot 0
constexpr int16_t kLinesPerPage = 2;   // a page is full after this many lines
constexpr uint32_t kCharDelay = 40;    // ms per character while the click-wait is armed
constexpr uint32_t kNoWaitDelay = 60;  // ms per character without it (t0)
constexpr Pixel kNarrationColour = FromColorRef(0xA6ACED);

}  // namespace

MessageWindow::MessageWindow(const SceneContext& scene, SceneEvents& events)
    : form_(scene.form),
      story_(scene.story),
      page_(scene.page),
      host_(scene.host),
      text_(scene.text),
      events_(events),
      clickWait_(scene.form, scene.story.message, scene.host) {}

std::string MessageWindow::SpeakerTag(int16_t speaker) const {
  if (speaker < 1 || speaker > 8) return {};
  return "【" + story_.Names[speaker] + "】";
}

Pixel MessageWindow::SpeakerColour(int16_t speaker) {
  return speaker == 0 ? kNarrationColour : kWhite;
}

int32_t MessageWindow::LineHeight() const {
  // Fix(size × 1.7) in integers, so that no rounding of 1.7 can lose a pixel.
  return story_.message.BaseFontSize * 17 / 10;
}

std::vector<std::string> MessageWindow::LinePieces(std::string_view text) {
  const int32_t total = AnsiLen(text);
  if (total <= kLineBytes) return {std::string(text)};
  std::vector<std::string> pieces(1);
  int32_t bytes = 0;
  for (std::string_view c : Utf8Chars(text)) {
    const int32_t length = AnsiCharLen(c);
    if (bytes + length > kLineBytes) {
      pieces.emplace_back();
      bytes = 0;
    }
    pieces.back() += c;
    bytes += length;
  }
  // A text whose length is a whole number of lines still ends with an empty
  // piece, which takes its line slot like any other.
  while (static_cast<int32_t>(pieces.size()) < total / kLineBytes + 1)
    pieces.emplace_back();
  return pieces;
}

void MessageWindow::ShowMessage() {
  if (story_.CurText.empty()) return;
  if (!form_.MesBox[0]->Visible()) MesOpen();
  const int16_t speaker = story_.CurSpeaker;
  MesPrint(SpeakerTag(speaker), story_.CurText, SpeakerColour(speaker));
}

void MessageWindow::MesOpen() {
  form_.MesBox[0]->SetVisible(true);
  form_.MesBox[1]->SetVisible(true);
  page_.LastSpeaker = -1;
  form_.speedup.SetEnabled(true);
}

void MessageWindow::DrawLine(const std::string& line, int32_t advance, uint32_t delay,
                             Pixel colour) {
  PictureBox& box = *form_.MesBox[0];
  const int32_t y = page_.LineNo * LineHeight() + kFirstLineY;
  MessageState& message = story_.message;
  if (message.MessageMode != 3 || (comforts_ != nullptr && comforts_->DrawsWholeLines())) {
    box.textColor = colour;
    text_.DrawText(box, kTextX, y, line);
    box.Refresh();
    return;
  }
  // One character at a time: a half-width character narrows the step to the
  // character after it. The pause lets no events run, so input made during
  // the reveal waits for the click-wait.
  const std::vector<int32_t> lefts = CharacterLefts(line, advance);
  size_t i = 0;
  for (std::string_view c : Utf8Chars(line)) {
    box.textColor = colour;
    text_.DrawText(box, lefts[i++], y, c);
    box.Refresh();
    host_.Sleep(delay);
  }
}

int32_t MessageWindow::CharacterAdvance(int16_t baseSize, int16_t enlarged) {
  if (enlarged == 0) return baseSize + 2;
  const float actual = TextRenderer::ActualFontSize(static_cast<float>(enlarged));
  return static_cast<int32_t>(RoundHalfEven(actual + 5.0));
}

std::vector<int32_t> MessageWindow::CharacterLefts(std::string_view line, int32_t advance) {
  std::vector<int32_t> lefts;
  int32_t x = kTextX - advance;
  int32_t widthCorrection = 0;
  for (std::string_view c : Utf8Chars(line)) {
    x = x + advance + (widthCorrection * advance) / 2 + 2;
    lefts.push_back(x);
    widthCorrection = AnsiCharLen(c) - 2;
  }
  return lefts;
}

void MessageWindow::MesPrint(const std::string& tag, const std::string& text, Pixel colour) {
  if (Printing) return;
  Printing = true;
  PictureBox& box = *form_.MesBox[0];
  MessageState& message = story_.message;

  // A page that a long message or an enlarged font took past its two lines
  // without the wait after it (tp) has no room left: the message starts a
  // fresh page. A page exactly full keeps its text, which the player has not
  // been given time to read; the message goes on the line below it.
  if (page_.LineNo > kLinesPerPage) MesClear(form_, page_);

  const int16_t speaker = story_.CurSpeaker;
  if (speaker != page_.LastSpeaker) {
    MesClear(form_, page_);
    page_.LastSpeaker = speaker;
    if (!tag.empty()) {
      box.textColor = colour;
      text_.DrawText(box, kTagX, page_.LineNo * LineHeight() + kFirstLineY, tag);
    }
  }

  const uint32_t delay = message.ClickWait ? kCharDelay : kNoWaitDelay;
  const int16_t enlarged = message.NextFontSize;
  const int32_t advance = CharacterAdvance(story_.message.BaseFontSize, enlarged);
  if (enlarged != 0) box.font.size = static_cast<float>(enlarged);

  const std::vector<std::string> pieces = LinePieces(text);
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (k >= 1) page_.LineNo = SaturatingAdd16(page_.LineNo, 1);
    DrawLine(pieces[k], advance, delay, colour);
  }

  if (enlarged != 0) {
    box.font.size = static_cast<float>(story_.message.BaseFontSize);
    // The larger text took two line slots.
    if (TextRenderer::ActualFontSize(box.font.size) < enlarged) {
      page_.LineNo = SaturatingAdd16(page_.LineNo, 1);
    }
    message.NextFontSize = 0;
  }

  Printing = false;
  page_.LineNo = SaturatingAdd16(page_.LineNo, 1);
  events_.Report(TextEvent{speaker, tag, text});
  if (comforts_ != nullptr) comforts_->PageShown({story_.ScriptPos, speaker, tag, text, colour});

  if (message.NoWaitOnce != 0) {
    message.NoWaitOnce = 0;
    return;
  }
  if (message.ClickWait && message.MessageMode != 0) ClickWaitAfterPage();
  MesWait();
}

void MessageWindow::ClickWaitAfterPage() {
  if (comforts_ == nullptr) {
    clickWait_.Keys();
    return;
  }
  if (comforts_->PassesPage()) return;
  comforts_->ClickWaitBegins();
  clickWait_.Keys();
  comforts_->ClickWaitEnds();
}

void MessageWindow::MesWait() {
  MessageState& message = story_.message;
  if (!message.ClickWait) {
    message.ClickWait = true;
    WaitMs(host_, 1);
  }
  // Two lines make a full page; a page that a long message or an enlarged
  // font took past two lines is full as well.
  if (page_.LineNo >= kLinesPerPage) MesClear(form_, page_);
}

int32_t MessageWindow::CmdTextMode() {
  const std::string& command = story_.CurCommand;
  assert(!command.empty());
  MessageState& message = story_.message;
  switch (command.back()) {
    case '0':
      message.ClickWait = false;
      form_.Blinker.visible = false;
      form_.window.Invalidate();
      message.MessageMode = 3;
      break;
    case 's': {
      // A size that is not a number, or a negative one, changes nothing.
      auto size = ToInt16(story_.CurParam1);
      if (size.ok() && *size >= 0) message.NextFontSize = *size;
      break;
    }
    case 'p': {
      // A count that is not a number changes nothing.
      auto once = ToInt16(story_.CurParam1);
      if (once.ok()) message.NoWaitOnce = *once;
      break;
    }
    default:
      break;
  }
  return kShowText;
}

}  // namespace dovetail
