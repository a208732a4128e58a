#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Surface.h"
#include "scene/ClickWait.h"
#include "scene/PageComforts.h"
#include "screen/SceneContext.h"

namespace dovetail {

class SceneEvents;

// The message window: draws the story's text into MesBox(0) two lines to a
// page, the speaker's name in 【】 brackets at the start of each speaker's
// page, either a whole line at once or one character at a time, and waits for
// the player after each message. Every message shown is reported (TextEvent)
// after it is drawn and before the wait.
//
// All layout counts bytes of the text's CP932 form: a line holds 64 bytes,
// a full-width character is 2 bytes and a half-width one 1.
class MessageWindow {
 public:
  MessageWindow(const SceneContext& scene, SceneEvents& events);
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  // True while MesPrint draws; a nested call returns at once.
  bool Printing = false;

  // The click-wait after each message, also the script's own wait.
  ClickWait& Wait() { return clickWait_; }
  const ClickWait& Wait() const { return clickWait_; }

  // The player's comforts that watch and pace the pages; none by default.
  // Must outlive the window.
  void SetComforts(PageComforts* comforts) { comforts_ = comforts; }

  // Shows the current record's text (CurText, CurSpeaker) with its speaker's
  // tag and colour, opening the window first when it is hidden. Empty text
  // shows nothing and does not wait.
  void ShowMessage();
  // Draws one message and performs the wait after it.
  void MesPrint(const std::string& tag, const std::string& text, Pixel colour);
  // Shows the message window and its top strip; the next message starts a
  // fresh page.
  void MesOpen();
  // After a message: re-arms the click-wait and clears a full page.
  void MesWait();
  // The script command "t": t0 character mode without a click-wait, ts the
  // next message's font size, tp no click-wait after the next message.
  int32_t CmdTextMode();

  // The speaker's tag ("【name】" for speakers 1 to 8, else empty) and text
  // colour (narration 0 in its own colour, everyone else white).
  std::string SpeakerTag(int16_t speaker) const;
  static Pixel SpeakerColour(int16_t speaker);

  // Cuts text into the line pieces of the window: 64 CP932 bytes each, never
  // splitting a character (a cut that would fall inside a two-byte character
  // comes before it). Text of up to 64 bytes is one piece; longer text gives
  // at least Fix(bytes / 64) + 1 pieces, the last possibly empty.
  static std::vector<std::string> LinePieces(std::string_view text);

  // Where a line's text starts in the window.
  static constexpr int32_t kTextX = 120;
  // The step of a line shown one at a time: the base font size + 2, or for
  // an enlarged message (NextFontSize, nonzero) its actual size + 5, rounded.
  static int32_t CharacterAdvance(int16_t baseSize, int16_t enlarged);
  // The left edge of each character of a line shown one at a time with the
  // given advance: each step is the advance, narrowed by half of it after a
  // half-width character, plus 2.
  static std::vector<int32_t> CharacterLefts(std::string_view line, int32_t advance);

  // The line height of the page: Fix(BaseFontSize × 1.7) pixels (the
  // message state's base size).
  int32_t LineHeight() const;

 private:
  // The click-wait after a message, as the comforts pace it.
  void ClickWaitAfterPage();
  void DrawLine(const std::string& line, int32_t advance, uint32_t delay, Pixel colour);

  MainForm& form_;
  StoryState& story_;
  MessagePage& page_;
  Host& host_;
  TextRenderer& text_;
  SceneEvents& events_;
  PageComforts* comforts_ = nullptr;
  ClickWait clickWait_;
};

}  // namespace dovetail
