#pragma once

#include <cstdint>
#include <functional>

#include "screen/MainForm.h"
#include "story/StoryState.h"

namespace dovetail {

// Wires the player's input for the story: space, Enter and the left button
// release the click-wait while the message window is shown; the right button
// on the message window hides it (and stops skipping), on the picture or a
// sprite shows it again; the menu item "speedup" switches skipping to the next
// choice on and off. The picture ignores the mouse while a café stage has time
// left (`stageTimeLeft`, the café's TimeLeft, above 0). Keys work whichever
// box has the focus. `stageTimeLeft` must outlive the form's handlers.
void WirePlayerInput(MainForm& form, StoryState& story, const int16_t& stageTimeLeft);

// Lets `take` see every key first, whichever box of the window has the focus;
// a key it does not take (returns false) goes on to the handler set before.
// For keyboard play beyond the original (choices, title).
void GiveKeysFirstTo(MainForm& form, std::function<bool(int16_t keyCode)> take);

}  // namespace dovetail
