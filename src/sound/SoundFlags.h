#pragma once

namespace dovetail {

// The player's sound options, from the first line of the settings file.
struct SoundFlags {
  bool BgmEnabled = true;       // music allowed
  bool SeEnabled = true;        // sound effects allowed
  bool UseDirectMusic = false;  // music device: false = the sequencer, true = the looping player
  bool FadeOnStop = false;      // fade the music out when it is stopped
};

}  // namespace dovetail
