#pragma once

#include "host/Host.h"
#include "screen/MainForm.h"
#include "story/StoryState.h"

namespace dovetail {

// The click-wait after a message (and the script's own, "Keys"): shows the
// blinking indicator and lets events run until WaitFlag is cleared — by the
// player's input handlers and the name entry, as the rules say, or by End on
// behalf of the comforts that pace pages. The message window owns the one
// click-wait of a run.
class ClickWait {
 public:
  ClickWait(MainForm& form, MessageState& message, Host& host);
  ClickWait(const ClickWait&) = delete;
  ClickWait& operator=(const ClickWait&) = delete;

  // Runs the click-wait: returns once WaitFlag is cleared.
  void Keys();
  // True while Keys runs (WaitFlag can be set outside it).
  bool Running() const { return message_.InKeys; }
  // Ends the click-wait running now on the player's behalf (auto-advance,
  // the skip of read text); nothing when none runs.
  void End();
  // True when the last click-wait was ended by End, not by the player.
  bool EndedOnRequest() const { return endedOnRequest_; }

  // The blink timer's handler: shows or hides the indicator.
  void Clicker_Timer();

 private:
  MainForm& form_;
  MessageState& message_;
  Host& host_;
  bool endedOnRequest_ = false;
};

}  // namespace dovetail
