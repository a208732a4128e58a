#pragma once

#include <string>

#include "sound/Sound.h"

namespace dovetail {

// The script's sound command, chosen by the command's last character: "0"
// stops the music with a fade and puts the volume back, "1".."9" play effect
// 99 + digit, "J" / "j" fade out, "K" / "k" fade in to the saved volume; any
// other character does nothing. Nothing happens while both music and effects
// are off.
void CmdAudio(Sound& sound, const std::string& command);

}  // namespace dovetail
