#pragma once

#include <string>

#include "shell/TitleScreen.h"

namespace dovetail::testing {

// The play file's line that presses title entry `entry` (kNewStoryEntry,
// kLoadEntry, …) where the auto-player presses it.
inline std::string TitleClick(int entry) {
  const TitlePoint press = TitleEntryPoint(entry);
  return "click " + std::to_string(press.x) + " " + std::to_string(press.y) + "\n";
}

}  // namespace dovetail::testing
