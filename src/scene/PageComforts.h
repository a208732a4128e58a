#pragma once

#include <cstdint>
#include <string>

#include "host/Surface.h"

namespace dovetail {

// A message as the message window showed it: the record it came from, the
// speaker's number, the tag and text drawn and the text's colour.
struct ShownPage {
  int32_t position = 0;
  int16_t speaker = 0;
  std::string tag;
  std::string text;
  Pixel colour = 0;
};

// What the player's comforts beyond the original (the message history, the
// pages read, auto-advance and the skip of read text) see of the message
// window and how they pace it. A message window without them, or with
// comforts the player does not use, behaves exactly as the original.
class PageComforts {
 public:
  // A message was drawn (after it was reported, before any wait).
  virtual void PageShown(const ShownPage& page) = 0;
  // True when the click-wait after the page just shown is not to be waited
  // at all (its text was read before and the player skips read text).
  virtual bool PassesPage() = 0;
  // The click-wait after a message begins, and ends.
  virtual void ClickWaitBegins() = 0;
  virtual void ClickWaitEnds() = 0;
  // True while text is to be drawn whole lines at a time even in character
  // mode (the player skips).
  virtual bool DrawsWholeLines() const = 0;

 protected:
  ~PageComforts() = default;
};

}  // namespace dovetail
