#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "minigame/CafeTables.h"
#include "sound/SoundFlags.h"
#include "storage/PlayerFiles.h"

namespace dovetail {

// The largest settings file read: its 48 lines take about 2 KB, and the
// options window keeps at most 101.
inline constexpr uint64_t kMaxSettingsFileBytes = uint64_t{64} << 10;

// The marker line that the café game has been played beyond its first stage.
inline constexpr const char* kClearMark = "0200-0000";

// The settings file "20.dat": the sound options, the café tables and the clear
// marker.
struct Settings {
  std::string SettingsFlags;  // the first field; characters 1 to 4 are the sound options
  SoundFlags sound;
  cafe::CafeTables cafe;
  std::string ClearMark;
  bool Cleared = false;
};

// The sound options of a flags field: character 1 "0" turns music off, 2 "0"
// turns effects off, 3 "1" chooses the looping music player, 4 "1" turns the
// fade on; anything else (or a missing character) keeps the default.
SoundFlags ParseSettingsFlags(std::string_view flags);

// Reads the settings file (the player's copy, else the game's) with the
// field-stream rules. The marker is optional. Errors name the file and the
// field that could not be read.
Result<Settings> ReadSettings(const PlayerFiles& files);
// The same for the file's bytes held in memory; `name` names it in errors.
Result<Settings> ParseSettings(const std::string& bytes, const std::string& name);

// Rewrites characters 1 to 4 of the first line from the options (3 from
// `useDirectMusic`, the device chosen for the next start); every other
// character and line stays. A first line shorter than four characters is
// lengthened. The file is replaced atomically.
Status RewriteSettingsFlags(PlayerFiles& files, const SoundFlags& flags, bool useDirectMusic);

// Appends the marker line "0200-0000" (on a line of its own) atomically.
Status AppendClearMarker(PlayerFiles& files);

// After a café stage: when the stage is above 2 and the marker is not yet
// there, appends it and sets `settings.Cleared`.
Status MarkClearedAfterStage(PlayerFiles& files, int16_t stageNo, Settings& settings);

}  // namespace dovetail
