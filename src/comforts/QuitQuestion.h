#pragma once

#include "comforts/ComfortEvents.h"
#include "comforts/StoryCourse.h"
#include "host/Host.h"

namespace dovetail {

// The question before quitting (menu 終了, close box).
inline constexpr const char* kQuitAskText = "前回のセーブ以降の進行は失われます。終了しますか？";

// Asks before quitting when the story has progress since its last save point
// (the page waiting for the player is shown again by a load, so it is not
// lost); true when the program is to quit. Nothing is asked on the title or
// after the ending.
bool ConfirmQuit(Host& host, ComfortEvents& events, const StoryCourse& course);

}  // namespace dovetail
