#pragma once

#include <cstdint>

#include "screen/MainForm.h"

namespace dovetail {

// What the message window holds now: the speaker whose text is on the page
// (−1: none, so the next message starts a fresh page) and the line slot the
// next text line goes to. Shared by the message window, the background change
// and the choices.
struct MessagePage {
  int16_t LastSpeaker = -1;
  int16_t LineNo = 0;
};

// Clears the message page: erases everything drawn in MesBox(0) and starts a
// fresh page.
void MesClear(MainForm& form, MessagePage& page);

}  // namespace dovetail
