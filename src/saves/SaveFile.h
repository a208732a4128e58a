#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "base/Result.h"
#include "host/Host.h"
#include "storage/GamePaths.h"
#include "storage/PlayerFiles.h"
#include "story/Interpreter.h"
#include "story/StoryState.h"

namespace dovetail {

// The save slot "40.dat": four lines of story values, then the café logs.

// The 24-character position key of a save at a four-digit label: the label,
// the stage in 4 digits, the score in 10 characters (a minus sign stays inside
// the zeros: −50 is "0000000-50") and the script position in 6 digits.
std::string PositionKey(int16_t label, int16_t stage, int32_t score, int32_t scriptPos);

// The whole save file as CP932 text with CR LF line ends; an error when a name
// cannot be written in CP932.
Result<std::string> FormatSave(const StoryState& state);

// Writes 40.dat among the player's files and shows "セーブしました.", or "セーブに失敗しました."
// when it cannot be written (the reason goes to the standard error stream). The file is replaced
// atomically, never written through a link. The previous save becomes 40.dat.bak only when it
// loads, so a damaged save never replaces a good backup.
void SaveGame(const StoryState& state, Host& host, PlayerFiles& files);

// Reads the bytes of one save file into the story, in the order of the load
// steps: the stage of the key and field 4 of line 1 are compared as numbers
// first (a mismatch sets `stagesDisagree` and is an error), and only then are
// the label and the other values converted. Values are stored as soon as they
// are read, so a failure part-way leaves what was read in effect. `source`
// names the file in errors.
Status ReadSave(const std::string& bytes, StoryState& state, const std::string& source,
                bool& stagesDisagree);

// True when the save file `name` among the player's files is a regular file
// (not a link) that loads without an error and with agreeing stage numbers.
bool SaveFileLoads(const PlayerFiles& files, std::string_view name);

// Reads 40.dat (the player's copy, else the data folder's) into the story and continues after the
// first record of the saved label; shows "ロードしました.", or the load failure message (values
// read so far stay in effect and the position stays where it was). The stages are compared as
// numbers before anything else is converted: a save whose two stage numbers disagree ends the run
// as a failure (throws GameFailure with a message naming the file). When 40.dat is missing or no
// regular file, the backup 40.dat.bak is loaded instead if it loads; when 40.dat is there but
// damaged, the player is asked (OK / Cancel) whether to load the backup.
void LoadGame(StoryState& state, Interpreter& interpreter, Host& host, const PlayerFiles& files);

}  // namespace dovetail
