#pragma once

#include "platform/Host.h"
#include "screen/MainForm.h"
#include "script/StoryState.h"

namespace dovetail {

// The click-wait: shows the blinking indicator and lets events run until an
// input handler (or a dialog) clears WaitFlag.
void Keys(MainForm& form, MessageState& message, Host& host);

// The blink timer's handler: shows or hides the indicator.
void Clicker_Timer(MainForm& form);

}  // namespace dovetail
